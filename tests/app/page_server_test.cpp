// The test page server answers the one-line request with the registered page.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "support/page_server.h"

namespace {
std::string fetch(int port, const std::string& request) {
  int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<uint16_t>(port));
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) return "connect failed";
  ::send(fd, request.data(), request.size(), 0);
  std::string out;
  char buf[1024];
  ssize_t n;
  while ((n = ::recv(fd, buf, sizeof buf, 0)) > 0) out.append(buf, static_cast<std::size_t>(n));
  ::close(fd);
  return out;
}
}  // namespace

TEST(PageServer, AnswersRegisteredPagesAndRecordsRequests) {
  quova::test::PageServer server;
  server.setPage("/q?s=IBM", "IBM 12.5\n");
  EXPECT_EQ(fetch(server.port(), "GET /q?s=IBM\n"), "IBM 12.5\n");
  EXPECT_EQ(fetch(server.port(), "GET /other\n"), server.notFoundBody);
  ASSERT_EQ(server.requests().size(), 2u);
  EXPECT_EQ(server.requests()[0], "GET /q?s=IBM");
  EXPECT_EQ(server.rawRequests()[0], "GET /q?s=IBM\n");
}
