// Page addresses and socket error words.
#include "download/web_address.h"

#include <cstdio>

namespace quova {

bool IsAddress(std::string_view host) {
  if (host.empty()) return false;
  for (char c : host)
    if (!((c >= '0' && c <= '9') || c == '.')) return false;
  return true;
}

namespace {

// Takes the digits after a ":" that stands before the first "/" out of the text.
void takePort(std::string& text, WebTarget& t) {
  std::size_t slash = text.find('/');
  std::size_t colon = text.find(':');
  if (colon == std::string::npos || (slash != std::string::npos && colon > slash)) return;
  std::size_t end = colon + 1;
  long port = 0;
  bool digits = false;
  while (end < text.size() && text[end] >= '0' && text[end] <= '9') {
    if (port < 100000) port = port * 10 + (text[end] - '0');
    digits = true;
    ++end;
  }
  text.erase(colon, end - colon);
  if (!digits) return;
  t.portValid = port >= 1 && port <= 65535;
  t.port = static_cast<int>(port);
}

}  // namespace

WebTarget splitPageAddress(std::string_view address, bool useProxy, std::string_view proxyServer) {
  WebTarget t;
  std::string text(address);
  if (text.rfind("https://", 0) == 0) {
    t.tls = true;
    t.port = 443;
    text.erase(0, 8);
  } else if (std::size_t p = text.find("http://"); p != std::string::npos) {
    text.erase(p, 7);
  }
  takePort(text, t);
  std::size_t slash = text.find('/');
  t.server = text.substr(0, slash);
  t.path = slash == std::string::npos ? std::string() : text.substr(slash);
  if (useProxy && !t.tls) {
    // The setup dialog shows the proxy as http:\\ + host; a scheme in front of the host is
    // not part of its name.
    std::string proxy(proxyServer);
    for (const char* scheme : {"http://", "http:\\\\"})
      if (proxy.rfind(scheme, 0) == 0) proxy.erase(0, std::char_traits<char>::length(scheme));
    const std::size_t named = proxy.size();
    WebTarget p;
    takePort(proxy, p);
    t.server = proxy;
    if (proxy.size() != named) {
      t.port = p.port;
      t.portValid = p.portValid;
    }
    t.path = std::string(address);
  }
  return t;
}

std::string socketErrorText(int code) {
  static const std::string S = " -- Check your Network Connection...";
  switch (code) {
    case 10004: return "WSAEINTR";
    case 10014: return "WSAEFAULT";
    case 10022: return "WSAEINVAL";
    case 10024: return "WSAEMFILE";
    case 10035: return "WSAEWOULDBLOCK";
    case 10036: return "WSAEINPROGRESS";
    case 10037: return "WSAEALREADY" + S;
    case 10038: return "WSAENOTSOCK";
    case 10039: return "WSAEDESTADDRREQ";
    case 10040: return "WSAEMSGSIZE" + S;
    case 10041: return "WSAEPROTOTYPE" + S;
    case 10042: return "WSAENOPROTOOPT" + S;
    case 10043: return "WSAEPROTONOSUPPORT" + S;
    case 10044: return "WSAESOCKTNOSUPPORT" + S;
    case 10045: return "WSAEOPNOTSUPP" + S;
    case 10046: return "WSAEPFNOSUPPORT" + S;
    case 10048: return "WSAEADDRINUSE";
    case 10049: return "WSAEADDRNOTAVAIL -- The specified address is not available from the local machine";
    case 10050: return "WSAENETDOWN -- Network Down...check Network connection";
    case 10051: return "WSAENETUNREACH";
    case 10052: return "WSAENETRESET" + S;
    case 10053: return "WSAECONNABORTED" + S;
    case 10054: return "WSAECONNRESET" + S;
    case 10055: return "WSAENOBUFS -- No/insufficient buffer space is available";
    case 10056: return "WSAEISCONN";
    case 10057: return "WSAENOTCONN" + S;
    case 10058: return "WSAESHUTDOWN" + S;
    case 10059: return "WSAETOOMANYREFS" + S;
    case 10060: return "WSAETIMEDOUT" + S + "\nRequested Site may be temporarily unavailable.";
    case 10061: return "WSAECONNREFUSED";
    case 10063: return "WSAENAMETOOLONG" + S;
    case 10064: return "WSAEHOSTDOWN" + S;
    case 10065: return "WSAEHOSTUNREACH" + S + "Requested Site may be temporarily unavailable.";
    case 10066: return "WSAENOTEMPTY" + S;
    case 10069: return "WSAEDQUOT" + S;
    case 10070: return "WSAESTALE" + S;
    case 10071: return "WSAEREMOTE" + S;
    case 10091: return "WSASYSNOTREADY" + S;
    case 10092: return "WSAVERNOTSUPPORTED" + S;
    case 10093: return "WSANOTINITIALISED";
    case 10101: return "WSAEDISCON" + S;
    case 11001: return "WSAHOST_NOT_FOUND -- Authorative Answer Host not found";
    case 11002: return "WSATRY_AGAIN -- Non-Authoritative Host not found, or SERVERFAIL";
    case 11003: return "WSANO_RECOVERY -- Non recoverable errors, FORMERR, REFUSED, NOTIMP";
    case 11004: return "Valid name, no data record of requested type";
    default: {
      char text[64];
      std::snprintf(text, sizeof text, "Error %d occurred", code);
      return text;
    }
  }
}

}  // namespace quova
