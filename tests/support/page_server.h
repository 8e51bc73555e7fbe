// A quote page server on 127.0.0.1 for whole-run and fetch tests. It answers the program's
// one-line request ("GET path\n", no version, no headers) with the page registered for the
// path and closes the connection, as the quote servers of the original protocol do.
#pragma once

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace quova::test {

class PageServer {
 public:
  enum class Mode { Answer, Hang, CloseAtOnce, Trickle };  // Trickle: a byte every 200 ms

  PageServer();
  ~PageServer();
  PageServer(const PageServer&) = delete;
  PageServer& operator=(const PageServer&) = delete;

  int port() const { return port_; }
  // The page for a request path ("/q?s=IBM+MSFT"); unknown paths get notFoundBody.
  void setPage(const std::string& path, const std::string& body);
  void setMode(Mode m) { mode_ = m; }
  // The next n answers stop halfway through the page and reset the connection.
  void resetMidPage(int n) { resets_ = n; }
  std::string notFoundBody = "<html><body>Not Found</body></html>\n";
  // Every request line received, without its line end.
  std::vector<std::string> requests() const;
  // The raw bytes of every request, as received.
  std::vector<std::string> rawRequests() const;

 private:
  void run();
  void serve(int fd);

  int listenFd_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::atomic<Mode> mode_{Mode::Answer};
  std::atomic<int> resets_{0};
  mutable std::mutex mutex_;
  std::map<std::string, std::string> pages_;
  std::vector<std::string> requests_;
  std::vector<std::string> raw_;
  std::thread thread_;
};

}  // namespace quova::test
