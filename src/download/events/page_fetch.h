// The fetch of one quote page, as an event-driven chain of steps: resolve the host (or
// only the primer's host first), connect, send the one-line request, read until the
// server closes, store every byte in the page file. "http://" pages keep the original
// protocol exactly ("GET " + path + "\n", nothing more); "https://" pages are fetched
// with an HTTP/1.1 GET over TLS. A page with no socket activity for QUOVA_NET_TIMEOUT
// seconds (default 60) ends as a time-out, so an unattended run never hangs.
#pragma once

#include <QElapsedTimer>
#include <QHostAddress>
#include <QHostInfo>
#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QTcpSocket>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <string>

#include "download/web_address.h"

class QNetworkReply;

namespace quova {

class PageFetch : public QObject {
  Q_OBJECT

 public:
  struct Request {
    std::string address;  // page address with its symbols and suffix
    std::string primer;   // primer page address; only its host is resolved
    std::string pageFile;
    bool useProxy = false;
    std::string proxyServer;
  };

  explicit PageFetch(QObject* parent = nullptr);
  ~PageFetch() override;

  // Where the session's narration goes (one call per line).
  void setSessionText(std::function<void(const std::string&)> sink) { sessionText_ = std::move(sink); }

  // Starts a page; 1 when the user has stopped (nothing is started), else 0.
  int WebOpenSocket(const Request& request);
  // The user's stop: the socket is closed and the page ends incomplete.
  void stop();
  bool stopped() const { return stopped_; }
  bool busy() const { return busy_; }
  long bytesRead() const { return bytesRead_; }
  const WebTarget& target() const { return target_; }

  // The largest page stored; a larger one ends as an error.
  static constexpr qint64 kMaxPageBytes = 64LL * 1024 * 1024;

 signals:
  // After the socket is closed: complete when the server closed a page that was stored whole.
  void pageDone(bool complete, int error);

 private:
  void ConnectWebServerSocket(const std::string& host, bool primer);
  void WebServerPrimeCompl(const QHostInfo& info);
  void GetWebServerSocket(const QHostInfo& info);
  void WaitForWebServerWriteReady();
  void WaitForWebServerReadReady();
  int SendWebQuery();
  void ReadWebServerSocket();
  long RecvWebFile(const QByteArray& data);
  // Stores what the device holds; false when that ended the page.
  bool storeAvailable(QIODevice* from);
  void WebCloseSocket(bool complete);
  void SocketError(int code);
  void socketFailed(QAbstractSocket::SocketError error);
  void serverClosed();
  void startTls();
  void tlsFinished();
  bool openPageFile();
  bool closePageFile();
  void touch();  // socket activity: the inactivity time-out starts again
  void timedOut();
  void endWithError(int code);

  Request request_;
  WebTarget target_;
  std::string primerHost_;
  bool primerPhase_ = false;
  bool stopped_ = false;
  bool busy_ = false;
  bool ending_ = false;
  long bytesRead_ = 0;
  int lastError_ = 0;
  std::FILE* page_ = nullptr;
  bool writeFailed_ = false;
  QPointer<QTcpSocket> socket_;
  QNetworkAccessManager* network_ = nullptr;
  QPointer<QNetworkReply> reply_;
  QTimer idle_;
  QElapsedTimer pageClock_;
  int timeoutMs_ = 60000;
  int lookupId_ = -1;
  std::function<void(const std::string&)> sessionText_;
};

// Maps a Qt socket error to the WinSock code its words are reported with.
int winsockCode(QAbstractSocket::SocketError error);

}  // namespace quova
