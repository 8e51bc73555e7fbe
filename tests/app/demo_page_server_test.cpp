// The demo's local quote source (scripts/demo-page-server): the one-line request the
// program sends gets the page alone, an HTTP request gets a response with headers, and
// nothing outside the page folder is served.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

fs::path sourceDir() { return fs::path(__FILE__).parent_path().parent_path().parent_path(); }

std::string readFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// The server on a free port, stopped at the end of the test.
struct DemoServer {
  pid_t pid = -1;
  int port = 0;
  DemoServer() {
    int out[2];
    if (::pipe(out) != 0) return;
    pid = ::fork();
    if (pid == 0) {
      ::dup2(out[1], 1);
      ::close(out[0]);
      std::string script = (sourceDir() / "scripts/demo-page-server").string();
      ::execlp("python3", "python3", script.c_str(), "--port", "0", "--quiet", static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(out[1]);
    // "demo-page-server: serving DIR on 127.0.0.1:PORT"
    std::string first;
    char c;
    while (::read(out[0], &c, 1) == 1 && c != '\n') first += c;
    ::close(out[0]);
    std::size_t colon = first.rfind(':');
    if (colon != std::string::npos) port = std::atoi(first.c_str() + colon + 1);
  }
  ~DemoServer() {
    if (pid > 0) {
      ::kill(pid, SIGTERM);
      ::waitpid(pid, nullptr, 0);
    }
  }
  // Sends the request and returns everything the server sends until it closes.
  std::string ask(const std::string& request) const {
    int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::string reply;
    if (::connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
        ::send(s, request.data(), request.size(), 0) == static_cast<ssize_t>(request.size())) {
      char buf[4096];
      for (ssize_t n; (n = ::recv(s, buf, sizeof buf, 0)) > 0;) reply.append(buf, static_cast<size_t>(n));
    }
    ::close(s);
    return reply;
  }
};

}  // namespace

TEST(DemoPageServer, AnswersTheOneLineRequestAndHttp) {
  if (std::system("python3 -c '' 2>/dev/null") != 0) GTEST_SKIP() << "python3 is not installed";
  DemoServer server;
  ASSERT_GT(server.port, 0);
  std::string watch = readFile(sourceDir() / "demo/pages/watch.html");
  std::string fund = readFile(sourceDir() / "demo/pages/funds/QFGIX.html");
  ASSERT_FALSE(watch.empty());
  // The program's request: no version, no headers; the query is ignored.
  EXPECT_EQ(server.ask("GET /watch.html?s=KLMX+BRVN\n"), watch);
  EXPECT_EQ(server.ask("GET /funds/QFGIX.html\n"), fund);
  // Through a proxy the request names the whole address.
  EXPECT_EQ(server.ask("GET http://127.0.0.1:8765/funds/QFGIX.html\n"), fund);
  // An ordinary HTTP request.
  std::string http = server.ask("GET /funds/QFGIX.html HTTP/1.1\r\nHost: localhost\r\n\r\n");
  EXPECT_EQ(http.rfind("HTTP/1.0 200 OK\r\n", 0), 0u) << http;
  EXPECT_NE(http.find("Content-Length: " + std::to_string(fund.size()) + "\r\n"), std::string::npos);
  EXPECT_EQ(http.substr(http.size() - fund.size()), fund);
  // Nothing outside the pages, and no missing page.
  for (const char* request : {"GET /../scripts/demo-page-server\n", "GET /%2e%2e/README.md\n", "GET /nope.html\n"})
    EXPECT_EQ(server.ask(request), "No such page\n") << request;
  EXPECT_EQ(server.ask("POST /watch.html HTTP/1.0\r\n\r\n").rfind("HTTP/1.0 400", 0), 0u);
}
