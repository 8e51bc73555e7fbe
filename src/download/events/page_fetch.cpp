// One quote page: resolve, connect, send, read until the server closes, store.
#include "download/events/page_fetch.h"

#include <algorithm>

#include <QFile>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <cstdlib>

#include "base/host.h"
#include "base/log.h"
#include "download/download_state.h"
#include "util/paths.h"

namespace quova {
namespace {

const char* kDownloader = "Web Page Downloader";

int timeoutFromEnvironment() {
  const char* v = std::getenv("QUOVA_NET_TIMEOUT");
  if (!v || !*v) return 60000;
  char* end = nullptr;
  long s = std::strtol(v, &end, 10);
  if (*end != 0 || s < 1 || s > 86400) return 60000;
  return static_cast<int>(s * 1000);
}

void status(const std::string& text) { host().statusText(text); }

}  // namespace

int winsockCode(QAbstractSocket::SocketError error) {
  switch (error) {
    case QAbstractSocket::ConnectionRefusedError: return wsa::ConnRefused;
    case QAbstractSocket::RemoteHostClosedError: return wsa::ConnReset;
    case QAbstractSocket::HostNotFoundError: return wsa::HostNotFound;
    case QAbstractSocket::SocketTimeoutError: return wsa::TimedOut;
    case QAbstractSocket::NetworkError: return wsa::NetDown;
    case QAbstractSocket::SocketResourceError: return wsa::NoBufs;
    case QAbstractSocket::DatagramTooLargeError: return wsa::MsgSize;
    case QAbstractSocket::AddressInUseError: return wsa::AddrInUse;
    case QAbstractSocket::SocketAddressNotAvailableError: return wsa::AddrNotAvail;
    case QAbstractSocket::UnsupportedSocketOperationError: return wsa::OpNotSupp;
    case QAbstractSocket::ProxyConnectionRefusedError: return wsa::ConnRefused;
    case QAbstractSocket::ProxyConnectionClosedError: return wsa::ConnReset;
    case QAbstractSocket::ProxyConnectionTimeoutError: return wsa::TimedOut;
    case QAbstractSocket::ProxyNotFoundError: return wsa::HostNotFound;
    case QAbstractSocket::SslHandshakeFailedError: return wsa::ConnAborted;
    default: return wsa::ConnAborted;
  }
}

PageFetch::PageFetch(QObject* parent) : QObject(parent) {
  idle_.setSingleShot(true);
  connect(&idle_, &QTimer::timeout, this, &PageFetch::timedOut);
}

PageFetch::~PageFetch() {
  if (lookupId_ >= 0) QHostInfo::abortHostLookup(lookupId_);
  if (page_) std::fclose(page_);
}

int PageFetch::WebOpenSocket(const Request& request) {
  if (stopped_) return 1;
  request_ = request;
  busy_ = true;
  ending_ = false;
  lastError_ = 0;
  writeFailed_ = false;
  bytesRead_ = 0;
  timeoutMs_ = timeoutFromEnvironment();
  status("Performing Daily Quotefile Downloads...");
  Log("\n\nIn WebOpenSocket...\n");
  Log("Primer -- %s\n", request.primer.c_str());
  Log("URL    -- %s\n", request.address.c_str());
  Log("UseProxy -- %d\n", request.useProxy ? 1 : 0);
  Log("ProxyURI -- %s\n", request.proxyServer.c_str());
  target_ = splitPageAddress(request.address, request.useProxy, request.proxyServer);
  Log("txtWebServer -- %s\n", target_.server.c_str());
  Log("txtURL       -- %s\n", target_.path.c_str());
  pageClock_.start();
  touch();
  if (!target_.portValid) {
    QTimer::singleShot(0, this, [this] { endWithError(wsa::AddrNotAvail); });
    return 0;
  }
  if (target_.tls) {
    QTimer::singleShot(0, this, &PageFetch::startTls);
    return 0;
  }
  primerHost_.clear();
  if (!request.primer.empty()) primerHost_ = splitPageAddress(request.primer, false, "").server;
  primerPhase_ = !primerHost_.empty();
  ConnectWebServerSocket(primerPhase_ ? primerHost_ : target_.server, primerPhase_);
  return 0;
}

void PageFetch::ConnectWebServerSocket(const std::string& hostName, bool primer) {
  auto done = [this, primer](const QHostInfo& info) {
    lookupId_ = -1;
    if (primer)
      WebServerPrimeCompl(info);
    else
      GetWebServerSocket(info);
  };
  if (IsAddress(hostName)) {
    QHostAddress address;
    if (!address.setAddress(QString::fromStdString(hostName)) ||
        address.protocol() != QAbstractSocket::IPv4Protocol) {
      MessageBox("Invalid Internet Address", hostName, mb::OK);
      QTimer::singleShot(0, this, [this] { endWithError(wsa::AddrNotAvail); });
      return;
    }
    DiaLog("\nResolving by address -- %s", hostName.c_str());
    QHostInfo info;
    info.setHostName(QString::fromStdString(hostName));
    info.setAddresses({address});
    QTimer::singleShot(0, this, [done, info] { done(info); });
  } else {
    DiaLog("\nResolving by name -- %s", hostName.c_str());
    lookupId_ = QHostInfo::lookupHost(QString::fromStdString(hostName), this, done);
  }
  status("Host information requested...waiting for host response");
}

void PageFetch::WebServerPrimeCompl(const QHostInfo& info) {
  if (stopped_ || ending_) return;
  touch();
  if (info.error() != QHostInfo::NoError || info.addresses().isEmpty()) {
    endWithError(info.error() == QHostInfo::HostNotFound ? wsa::HostNotFound : wsa::TryAgain);
    return;
  }
  primerPhase_ = false;
  ConnectWebServerSocket(target_.server, false);
}

void PageFetch::GetWebServerSocket(const QHostInfo& info) {
  if (stopped_ || ending_) return;
  touch();
  if (info.error() != QHostInfo::NoError || info.addresses().isEmpty()) {
    endWithError(info.error() == QHostInfo::HostNotFound ? wsa::HostNotFound : wsa::TryAgain);
    return;
  }
  // IPv4 addresses first, then the others, in the resolver's order.
  QHostAddress chosen;
  for (const QHostAddress& a : info.addresses())
    if (a.protocol() == QAbstractSocket::IPv4Protocol) {
      chosen = a;
      break;
    }
  if (chosen.isNull()) chosen = info.addresses().front();
  socket_ = new QTcpSocket(this);
  connect(socket_, &QTcpSocket::connected, this, &PageFetch::WaitForWebServerWriteReady);
  connect(socket_, &QTcpSocket::readyRead, this, &PageFetch::ReadWebServerSocket);
  connect(socket_, &QTcpSocket::disconnected, this, &PageFetch::serverClosed);
  connect(socket_, &QTcpSocket::errorOccurred, this, &PageFetch::socketFailed);
  socket_->connectToHost(chosen, static_cast<quint16>(target_.port));
  status("Connecting to Server...");
}

void PageFetch::WaitForWebServerWriteReady() {
  touch();
  status("Write complete...waiting for read data ready");
  // A connected socket is writable at once.
  QTimer::singleShot(0, this, &PageFetch::WaitForWebServerReadReady);
}

void PageFetch::WaitForWebServerReadReady() {
  if (ending_) return;
  if (stopped_) {
    WebCloseSocket(false);
    return;
  }
  if (socket_) SendWebQuery();
}

int PageFetch::SendWebQuery() {
  QByteArray query = "GET " + QByteArray::fromStdString(target_.path) + "\n";
  if (socket_->write(query) != query.size()) {
    MessageBox(formatText(121, "%d Error occurred during send()!", winsockCode(socket_->error())), kDownloader, mb::OK);
    endWithError(winsockCode(socket_->error()));
    return -1;
  }
  socket_->flush();
  if (!openPageFile()) return -1;
  status("Connection established...Request for page sent");
  return 0;
}

bool PageFetch::openPageFile() {
  page_ = std::fopen(nativePath(request_.pageFile).c_str(), "wb");
  if (!page_) {
    MessageBox(formatText(521, "Error occurred opening file: %s", request_.pageFile.c_str()), kDownloader, mb::OK);
    ++downloadState().PageErrCount;
    WebCloseSocket(false);
    return false;
  }
  return true;
}

bool PageFetch::closePageFile() {
  bool ok = !writeFailed_;
  if (page_) ok = std::fclose(page_) == 0 && ok;
  page_ = nullptr;
  // A page file the disk had no room for fails the page; the log names the file.
  if (!ok) Log("\nError occurred writing file: %s", request_.pageFile.c_str());
  return ok;
}

long PageFetch::RecvWebFile(const QByteArray& data) {
  if (data.isEmpty()) return 0;
  if (!page_ || writeFailed_) return -1;
  if (std::fwrite(data.constData(), 1, static_cast<std::size_t>(data.size()), page_) !=
      static_cast<std::size_t>(data.size())) {
    writeFailed_ = true;
    std::fclose(page_);
    page_ = nullptr;
    MessageBox(formatText(121, "%d Error occurred during recv()!", -1), kDownloader, mb::OK);
    return -1;
  }
  return static_cast<long>(data.size());
}

void PageFetch::ReadWebServerSocket() {
  if (ending_ || !socket_) return;
  if (sender() && sender() != socket_) {
    MessageBox("Wrong Socket Occurred", "In ReadWebServerSocket", mb::OK);
    return;
  }
  touch();
  if (stopped_) {
    WebCloseSocket(false);
    return;
  }
  if (storeAvailable(socket_)) status(formatText(181, "%ld bytes read, transfer in-process", bytesRead_));
}

bool PageFetch::storeAvailable(QIODevice* from) {
  while (from->bytesAvailable() > 0) {
    long n = RecvWebFile(from->read(5000));
    if (n < 0) {
      ++downloadState().PageErrCount;  // the page is lost, so it counts as a failed attempt
      WebCloseSocket(false);
      return false;
    }
    bytesRead_ += n;
    if (bytesRead_ > kMaxPageBytes) {
      endWithError(wsa::NoBufs);
      return false;
    }
  }
  return true;
}

void PageFetch::serverClosed() {
  if (ending_ || !socket_) return;
  // Everything still buffered belongs to the page; it is complete once nothing is left.
  ReadWebServerSocket();
  if (ending_) return;
  if (!page_ && !writeFailed_) {  // closed before the request was sent
    endWithError(wsa::ConnReset);
    return;
  }
  if (!closePageFile()) {
    ++downloadState().PageErrCount;
    WebCloseSocket(false);
    return;
  }
  status(formatText(181, "%ld bytes read, transfer complete", bytesRead_));
  WebCloseSocket(true);
}

void PageFetch::socketFailed(QAbstractSocket::SocketError error) {
  // The server's close ends the page; the disconnected signal finishes it.
  if (error == QAbstractSocket::RemoteHostClosedError || ending_) return;
  endWithError(winsockCode(error));
}

void PageFetch::touch() {
  // A server that trickles a byte now and then is never silent for long: the whole page
  // still ends after ten silences' time.
  const qint64 left = 10LL * timeoutMs_ - pageClock_.elapsed();
  idle_.start(static_cast<int>(std::clamp<qint64>(left, 0, timeoutMs_)));
}

void PageFetch::timedOut() {
  if (!busy_ || ending_) return;
  endWithError(wsa::TimedOut);
}

void PageFetch::endWithError(int code) {
  if (ending_) return;
  SocketError(code);
  WebCloseSocket(false);
}

void PageFetch::SocketError(int code) {
  if (code == 0) return;
  lastError_ = code;
  ++downloadState().PageErrCount;
  auto line = [this](const std::string& text) {
    Log("\n%s", text.c_str());
    if (sessionText_) sessionText_(text);
  };
  line("");
  line(formatText(81, "Page Download Attempt %d ...", downloadState().PageErrCount));
  if (!primerPhase_) {
    line("For Server: " + target_.server);
    line("");
    line("with URL:   " + target_.path);
    line("");
  } else {
    line("For Primer Page: " + request_.primer);
    line("");
  }
  line(socketErrorText(code));
}

void PageFetch::stop() {
  stopped_ = true;
  if (busy_ && !ending_) WebCloseSocket(false);
}

void PageFetch::WebCloseSocket(bool complete) {
  if (ending_) return;
  ending_ = true;
  idle_.stop();
  if (lookupId_ >= 0) {
    QHostInfo::abortHostLookup(lookupId_);
    lookupId_ = -1;
  }
  if (socket_) {
    socket_->disconnect(this);
    socket_->abort();
    socket_->deleteLater();
    socket_ = nullptr;
  }
  if (reply_) {
    reply_->disconnect(this);
    reply_->abort();
    reply_->deleteLater();
    reply_ = nullptr;
  }
  if (page_) {
    std::fclose(page_);
    page_ = nullptr;
  }
  int error = lastError_;
  // The short pause before the next page, with the event loop running.
  QTimer::singleShot(200, this, [this, complete, error] {
    busy_ = false;
    if (complete) downloadState().PageErrCount = 0;
    emit pageDone(complete, error);
  });
}

void PageFetch::startTls() {
  if (stopped_ || ending_) return;
  if (!network_) network_ = new QNetworkAccessManager(this);
  QNetworkRequest req(QUrl(QString::fromStdString(request_.address)));
  req.setRawHeader("User-Agent", "Quova/" QUOVA_FILE_VERSION " (quote downloader)");
  req.setRawHeader("Connection", "close");
  req.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
  req.setMaximumRedirectsAllowed(5);
  req.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
  // Extra trusted certificates (a private quote server, or a test) come from a file;
  // certificate checks themselves are never switched off.
  if (const char* ca = std::getenv("QUOVA_CA_FILE"); ca && *ca) {
    QSslConfiguration conf = QSslConfiguration::defaultConfiguration();
    QList<QSslCertificate> certs = conf.caCertificates();
    certs += QSslCertificate::fromPath(QString::fromLocal8Bit(ca));
    conf.setCaCertificates(certs);
    req.setSslConfiguration(conf);
  }
  if (!openPageFile()) return;
  status("Connecting to Server...");
  reply_ = network_->get(req);
  connect(reply_, &QNetworkReply::readyRead, this, [this] {
    touch();
    if (reply_ && storeAvailable(reply_)) status(formatText(181, "%ld bytes read, transfer in-process", bytesRead_));
  });
  connect(reply_, &QNetworkReply::finished, this, &PageFetch::tlsFinished);
}

void PageFetch::tlsFinished() {
  if (ending_ || !reply_) return;
  QNetworkReply::NetworkError e = reply_->error();
  // HTTP status errors still carry a page (whatever the site sends is the page);
  // only transport failures end the page as an error.
  if (e != QNetworkReply::NoError && e < QNetworkReply::ContentAccessDenied) {
    int code = wsa::ConnAborted;
    switch (e) {
      case QNetworkReply::ConnectionRefusedError:
      case QNetworkReply::ProxyConnectionRefusedError: code = wsa::ConnRefused; break;
      case QNetworkReply::RemoteHostClosedError:
      case QNetworkReply::ProxyConnectionClosedError: code = wsa::ConnReset; break;
      case QNetworkReply::HostNotFoundError:
      case QNetworkReply::ProxyNotFoundError: code = wsa::HostNotFound; break;
      case QNetworkReply::TimeoutError:
      case QNetworkReply::ProxyTimeoutError: code = wsa::TimedOut; break;
      case QNetworkReply::TemporaryNetworkFailureError:
      case QNetworkReply::NetworkSessionFailedError: code = wsa::NetDown; break;
      default: break;
    }
    Log("\nTLS page failed -- %s", reply_->errorString().toUtf8().constData());
    endWithError(code);
    return;
  }
  if (!storeAvailable(reply_)) return;
  if (!closePageFile()) {
    ++downloadState().PageErrCount;
    WebCloseSocket(false);
    return;
  }
  status(formatText(181, "%ld bytes read, transfer complete", bytesRead_));
  WebCloseSocket(true);
}

}  // namespace quova
