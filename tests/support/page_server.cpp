// The loopback quote page server for tests.
#include "support/page_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

namespace quova::test {

PageServer::PageServer() {
  listenFd_ = ::socket(AF_INET, SOCK_STREAM, 0);
  if (listenFd_ < 0) throw std::runtime_error("socket failed");
  int one = 1;
  ::setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = 0;
  if (::bind(listenFd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(listenFd_, 16) != 0)
    throw std::runtime_error("bind/listen failed");
  socklen_t len = sizeof addr;
  ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&addr), &len);
  port_ = ntohs(addr.sin_port);
  thread_ = std::thread([this] { run(); });
}

PageServer::~PageServer() {
  stop_ = true;
  ::shutdown(listenFd_, SHUT_RDWR);
  if (thread_.joinable()) thread_.join();
  ::close(listenFd_);
}

void PageServer::setPage(const std::string& path, const std::string& body) {
  std::lock_guard lock(mutex_);
  pages_[path] = body;
}

std::vector<std::string> PageServer::requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

std::vector<std::string> PageServer::rawRequests() const {
  std::lock_guard lock(mutex_);
  return raw_;
}

void PageServer::run() {
  while (!stop_) {
    pollfd p{listenFd_, POLLIN, 0};
    if (::poll(&p, 1, 100) <= 0) continue;
    int fd = ::accept(listenFd_, nullptr, nullptr);
    if (fd < 0) continue;
    serve(fd);
    ::close(fd);
  }
}

// Reads one request line (bounded, at most 2 s), answers it, and closes.
void PageServer::serve(int fd) {
  if (mode_ == Mode::CloseAtOnce) return;
  std::string raw;
  auto until = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  while (raw.find('\n') == std::string::npos && raw.size() < 65536 && std::chrono::steady_clock::now() < until &&
         !stop_) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 50) <= 0) continue;
    char buf[4096];
    ssize_t n = ::recv(fd, buf, sizeof buf, 0);
    if (n <= 0) break;
    raw.append(buf, static_cast<std::size_t>(n));
  }
  std::string line = raw.substr(0, raw.find('\n'));
  if (!line.empty() && line.back() == '\r') line.pop_back();
  std::string body;
  {
    std::lock_guard lock(mutex_);
    raw_.push_back(raw);
    requests_.push_back(line);
    std::string path = line.rfind("GET ", 0) == 0 ? line.substr(4) : line;
    auto it = pages_.find(path);
    body = it != pages_.end() ? it->second : notFoundBody;
  }
  if (mode_ == Mode::Trickle) {
    while (!stop_ && ::send(fd, "x", 1, MSG_NOSIGNAL) == 1) std::this_thread::sleep_for(std::chrono::milliseconds(200));
    return;
  }
  if (mode_ == Mode::Hang) {
    // Accept and never answer: hold the connection until the client gives up or we stop.
    while (!stop_) {
      pollfd p{fd, POLLIN, 0};
      if (::poll(&p, 1, 100) > 0) {
        char buf[256];
        if (::recv(fd, buf, sizeof buf, 0) <= 0) break;
      }
    }
    return;
  }
  std::size_t done = 0;
  if (resets_ > 0) {
    --resets_;
    ::send(fd, body.data(), body.size() / 2, MSG_NOSIGNAL);
    linger hard{1, 0};  // close with a reset, as a server that dies mid-page does
    ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
    return;
  }
  while (done < body.size()) {
    ssize_t n = ::send(fd, body.data() + done, body.size() - done, MSG_NOSIGNAL);
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
}

}  // namespace quova::test
