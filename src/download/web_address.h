// The server, port and request path of a quote page address, and the words for the
// socket errors a page fetch can end with.
#pragma once

#include <string>
#include <string_view>

namespace quova {

struct WebTarget {
  std::string server;  // host name or dotted address (the proxy host through a proxy)
  std::string path;    // what is requested after "GET "
  int port = 80;
  bool portValid = true;  // false for a port outside 1..65535
  bool tls = false;       // an "https://" address, fetched with an HTTP/1.1 GET
};

// Splits a page address as the fetch opens it: a lower-case "http://" is removed, digits
// after a ":" before the first "/" are the port, the server is the text before the first
// "/" and the request path the rest from it. Through a proxy the server is the proxy host
// (a ":port" after it is honoured) and the request path is the whole address as given.
WebTarget splitPageAddress(std::string_view address, bool useProxy, std::string_view proxyServer);

// True for a host made only of digits and "." (resolved by address, not by name).
bool IsAddress(std::string_view host);

// The text for a socket error code ("Error %d occurred" for codes without their own).
std::string socketErrorText(int code);

// WinSock codes the fetch reports.
namespace wsa {
inline constexpr int TimedOut = 10060;
inline constexpr int ConnRefused = 10061;
inline constexpr int ConnReset = 10054;
inline constexpr int ConnAborted = 10053;
inline constexpr int NetDown = 10050;
inline constexpr int NetUnreach = 10051;
inline constexpr int HostUnreach = 10065;
inline constexpr int AddrNotAvail = 10049;
inline constexpr int AddrInUse = 10048;
inline constexpr int NoBufs = 10055;
inline constexpr int MsgSize = 10040;
inline constexpr int OpNotSupp = 10045;
inline constexpr int HostNotFound = 11001;
inline constexpr int TryAgain = 11002;
inline constexpr int NoData = 11004;
}  // namespace wsa

}  // namespace quova
