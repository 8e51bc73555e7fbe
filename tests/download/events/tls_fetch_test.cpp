// "https://" pages: an HTTP/1.1 GET over TLS to a local server whose self-signed
// certificate is made for the test and trusted only through QUOVA_CA_FILE.
#include <gtest/gtest.h>

#include <QEventLoop>
#include <QFile>
#include <QSslKey>
#include <QSslServer>
#include <QSslSocket>
#include <QTimer>
#include <cstdlib>

#include "base/log.h"
#include "download/download_state.h"
#include "download/events/page_fetch.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

using namespace quova;
using quova::test::ScopedHost;
using quova::test::TempDir;

namespace {

// A TLS server answering every request with one HTTP response; records what it got.
struct TlsServer {
  QSslServer server;
  QByteArray received;
  QByteArray response;

  TlsServer(const QString& certFile, const QString& keyFile) {
    QSslConfiguration conf = QSslConfiguration::defaultConfiguration();
    QFile c(certFile), k(keyFile);
    c.open(QIODevice::ReadOnly);
    k.open(QIODevice::ReadOnly);
    conf.setLocalCertificate(QSslCertificate(&c, QSsl::Pem));
    conf.setPrivateKey(QSslKey(&k, QSsl::Rsa, QSsl::Pem));
    conf.setPeerVerifyMode(QSslSocket::VerifyNone);
    server.setSslConfiguration(conf);
    QObject::connect(&server, &QSslServer::pendingConnectionAvailable, [this] {
      auto* s = static_cast<QSslSocket*>(server.nextPendingConnection());
      QObject::connect(s, &QSslSocket::readyRead, [this, s] {
        received += s->readAll();
        if (received.contains("\r\n\r\n")) {
          s->write(response);
          s->disconnectFromHost();
        }
      });
    });
    server.listen(QHostAddress::LocalHost, 0);
  }
};

bool makeCertificate(const TempDir& dir) {
  std::string cmd = "openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=localhost "
                    "-addext subjectAltName=DNS:localhost -keyout '" + dir.file("key.pem") + "' -out '" +
                    dir.file("cert.pem") + "' > /dev/null 2>&1";
  return std::system(cmd.c_str()) == 0;
}

struct TlsFixture : ::testing::Test {
  TempDir dir{true};
  ScopedHost h;
  void SetUp() override {
    logState() = LogState{};
    OpenLogFile();
    if (!makeCertificate(dir)) GTEST_SKIP() << "openssl is not installed";
  }
  void TearDown() override { unsetenv("QUOVA_CA_FILE"); }

  std::pair<bool, int> fetch(const std::string& address) {
    PageFetch f;
    std::pair<bool, int> result{false, -1};
    QEventLoop loop;
    QObject::connect(&f, &PageFetch::pageDone, [&](bool complete, int error) {
      result = {complete, error};
      loop.quit();
    });
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    PageFetch::Request r;
    r.address = address;
    r.pageFile = dir.file("quotes.htm");
    f.WebOpenSocket(r);
    loop.exec();
    return result;
  }
};

}  // namespace

TEST_F(TlsFixture, ThePageBodyIsStoredAndTheRequestNamesTheProgram) {
  TlsServer tls(QString::fromStdString(dir.file("cert.pem")), QString::fromStdString(dir.file("key.pem")));
  tls.response = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nConnection: close\r\n\r\n"
                 "6\r\nIBM  1\r\n5\r\n70.25\r\n0\r\n\r\n";
  setenv("QUOVA_CA_FILE", dir.file("cert.pem").c_str(), 1);
  auto [complete, error] = fetch("https://localhost:" + std::to_string(tls.server.serverPort()) + "/q?s=IBM");
  EXPECT_TRUE(complete);
  EXPECT_EQ(error, 0);
  EXPECT_EQ(dir.read("quotes.htm"), "IBM  170.25");
  EXPECT_TRUE(tls.received.startsWith("GET /q?s=IBM HTTP/1.1\r\n")) << tls.received.toStdString();
  EXPECT_TRUE(tls.received.contains("User-Agent: Quova/")) << tls.received.toStdString();
  EXPECT_TRUE(tls.received.contains("Connection: close"));
}

TEST_F(TlsFixture, AnUntrustedCertificateFailsThePage) {
  TlsServer tls(QString::fromStdString(dir.file("cert.pem")), QString::fromStdString(dir.file("key.pem")));
  tls.response = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\nConnection: close\r\n\r\nok";
  downloadState().PageErrCount = 0;
  auto [complete, error] = fetch("https://localhost:" + std::to_string(tls.server.serverPort()) + "/q");
  EXPECT_FALSE(complete);
  EXPECT_EQ(error, 10053);
  EXPECT_EQ(downloadState().PageErrCount, 1);
}
