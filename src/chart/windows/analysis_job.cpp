// The analysis run on its own thread, and the host calls it kept.
#include "chart/windows/analysis_job.h"

#include <QThread>
#include <string>
#include <vector>

#include "base/host.h"
#include "base/log.h"

namespace quova {

// Keeps what the run asks of the desktop; boxes get their default button, as the only box
// of a run (the singular matrix) has only OK.
struct AnalysisJob::Recorder final : Host {
  enum class Kind { Box, Status, Beep };
  struct Call {
    Kind kind;
    std::string text, caption;
    unsigned flags = 0;
  };
  std::vector<Call> calls;
  int messageBox(std::string_view text, std::string_view caption, unsigned flags) override {
    calls.push_back({Kind::Box, std::string(text), std::string(caption), flags});
    return defaultButton(flags);
  }
  void statusText(std::string_view text) override { calls.push_back({Kind::Status, std::string(text), {}, 0}); }
  bool pump() override { return true; }
  void beep() override { calls.push_back({Kind::Beep, {}, {}, 0}); }
  ProcessId startProcess(const std::string&, const std::vector<std::string>&, const std::string&) override {
    return -1;
  }
  std::optional<int> processExitCode(ProcessId) override { return -1; }
  void sendAppMessage(int) override {}
  bool interactive() const override { return true; }
};

AnalysisJob::AnalysisJob(const ChartData& data, const ChartSettings& settings, const AnalysisSetup& setup,
                         QObject* parent)
    : QObject(parent), data_(data), settings_(settings), setup_(setup), calls_(std::make_unique<Recorder>()) {}

AnalysisJob::~AnalysisJob() { wait(); }

void AnalysisJob::start() {
  if (thread_) return;
  thread_ = QThread::create([this] {
    setThreadHost(calls_.get());
    result_ = Four_Anal(data_, settings_, setup_, fit_, &cancel_);
    setThreadHost(nullptr);
  });
  // finished comes on the thread's side; the job lives on the GUI thread, so the signal is queued there.
  connect(thread_, &QThread::finished, this, [this] { emit finished(); }, Qt::QueuedConnection);
  thread_->start();
}

bool AnalysisJob::running() const { return thread_ && !thread_->isFinished(); }

void AnalysisJob::wait() {
  if (!thread_) return;
  thread_->wait();
  delete thread_;
  thread_ = nullptr;
}

void AnalysisJob::replayHostCalls() {
  for (const Recorder::Call& c : calls_->calls) {
    switch (c.kind) {
      case Recorder::Kind::Box: MessageBox(c.text, c.caption, c.flags); break;
      case Recorder::Kind::Status: MessBar(c.text); break;
      case Recorder::Kind::Beep: host().beep(); break;
    }
  }
  calls_->calls.clear();
}

}  // namespace quova
