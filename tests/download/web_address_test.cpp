// Page addresses split into server, port and request path, and the error words.
#include <gtest/gtest.h>

#include "download/web_address.h"

using namespace quova;

TEST(WebAddress, ServerPortAndPath) {
  struct Case {
    const char* address;
    bool proxy;
    const char* proxyServer;
    const char* server;
    int port;
    const char* path;
    bool valid;
  } cases[] = {
      {"http://quotes.example:8080/q?s=", false, "", "quotes.example", 8080, "/q?s=", true},
      {"http://quotes.example/q?s=IBM+MSFT", false, "", "quotes.example", 80, "/q?s=IBM+MSFT", true},
      {"quotes.example", false, "", "quotes.example", 80, "", true},
      {"HTTP://Q.example/x", false, "", "HTTP", 80, "//Q.example/x", true},  // only "http://" is removed
      {"127.0.0.1:99999/x", false, "", "127.0.0.1", 99999, "/x", false},
      {"http://q.example/x:80", false, "", "q.example", 80, "/x:80", true},
      {"http://q.example/q?s=A", true, "proxy.local", "proxy.local", 80, "http://q.example/q?s=A", true},
      {"http://q.example/q?s=A", true, "proxy.local:3128", "proxy.local", 3128, "http://q.example/q?s=A", true},
      {"http://q.example/q?s=A", true, "http://proxy.local:3128", "proxy.local", 3128, "http://q.example/q?s=A", true},
      {"http://q.example/q?s=A", true, "http:\\\\proxy.local", "proxy.local", 80, "http://q.example/q?s=A", true},
  };
  for (const auto& c : cases) {
    WebTarget t = splitPageAddress(c.address, c.proxy, c.proxyServer);
    EXPECT_EQ(t.server, c.server) << c.address;
    EXPECT_EQ(t.port, c.port) << c.address;
    EXPECT_EQ(t.path, c.path) << c.address;
    EXPECT_EQ(t.portValid, c.valid) << c.address;
    EXPECT_FALSE(t.tls);
  }
  WebTarget s = splitPageAddress("https://secure.example/q?s=IBM", false, "");
  EXPECT_TRUE(s.tls);
  EXPECT_EQ(s.server, "secure.example");
  EXPECT_EQ(s.port, 443);
}

TEST(WebAddress, AddressesAndNames) {
  EXPECT_TRUE(IsAddress("127.0.0.1"));
  EXPECT_FALSE(IsAddress("localhost"));
  EXPECT_FALSE(IsAddress(""));
}

TEST(WebAddress, ErrorWords) {
  EXPECT_EQ(socketErrorText(10047), "Error 10047 occurred");
  EXPECT_EQ(socketErrorText(10061), "WSAECONNREFUSED");
  EXPECT_EQ(socketErrorText(10060),
            "WSAETIMEDOUT -- Check your Network Connection...\nRequested Site may be temporarily unavailable.");
  EXPECT_EQ(socketErrorText(10065),
            "WSAEHOSTUNREACH -- Check your Network Connection...Requested Site may be temporarily unavailable.");
  EXPECT_EQ(socketErrorText(11001), "WSAHOST_NOT_FOUND -- Authorative Answer Host not found");
  for (int code = 10000; code < 11010; ++code) EXPECT_LE(socketErrorText(code).size(), 120u) << code;
}
