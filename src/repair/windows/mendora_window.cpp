// The repair tool's window over the run of mendora_run.h.
#include "repair/windows/mendora_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <map>

namespace quova::repair {

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

std::string rtrim(const std::string& s) { return s.substr(0, s.find_last_not_of(" \t") + 1); }

// What the repair does about a problem, as the table says it.
QString repairOf(Problem p) {
  switch (p) {
    case Problem::Unreadable: return "removed (kept in the recovery copy)";
    case Problem::DuplicateLine:
    case Problem::BlankLine: return "removed";
    case Problem::OutOfOrder: return "sorted into date order";
    case Problem::CtrlZ:
    case Problem::NulBytes: return "bytes removed";
    case Problem::NoLineEnd: return "line end added";
    case Problem::HeaderAfterRecords: return "moved into the header block (a copy is removed)";
    case Problem::DuplicateDate: return "one line kept: see the choice below";
    default: return "left as it is: needs a person";
  }
}

// Dates whose records differ: the records of each, in file order (imported rows last).
std::map<int, std::vector<const Record*>> conflicts(const Scan& s) {
  std::map<int, std::vector<const Record*>> byDate;
  for (const Record& r : s.records) byDate[r.date].push_back(&r);
  for (auto& [d, g] : byDate)
    std::stable_partition(g.begin(), g.end(), [](const Record* r) { return !r->imported; });
  std::erase_if(byDate, [](const auto& e) {
    const auto& g = e.second;
    return std::all_of(g.begin(), g.end(), [&](const Record* r) { return rtrim(r->text) == rtrim(g.front()->text); });
  });
  return byDate;
}

void setRow(QTableWidget* t, int row, const QString& line, const QString& problem, const QString& text,
            const QString& repair) {
  const QString cells[] = {line, problem, text, repair};
  for (int c = 0; c < 4; ++c) {
    auto* item = new QTableWidgetItem(cells[c]);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    if (c == 2) item->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    t->setItem(row, c, item);
  }
}

}  // namespace

MendoraWindow::MendoraWindow(const Options& o, const std::string& cwd, const std::string& quova, QWidget* parent)
    : QDialog(parent), options_(o), cwd_(cwd), quova_(quova) {
  setWindowTitle("Mendora -- " + q(o.quoteFile));
  auto* layout = new QVBoxLayout(this);
  heading_ = new QLabel(this);
  heading_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(heading_);
  table_ = new QTableWidget(0, 4, this);
  table_->setHorizontalHeaderLabels({"Line", "Problem", "Text", "Repair"});
  table_->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
  table_->verticalHeader()->hide();
  table_->setWordWrap(false);
  table_->setTextElideMode(Qt::ElideRight);
  layout->addWidget(table_, 3);
  importWins_ = new QCheckBox("Imported rows replace the file's lines of the same dates", this);
  importWins_->setVisible(false);
  layout->addWidget(importWins_);
  preview_ = new QPlainTextEdit(this);
  preview_->setReadOnly(true);
  preview_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  layout->addWidget(preview_, 2);
  auto* buttons = new QDialogButtonBox(this);
  applyButton_ = buttons->addButton("&Apply", QDialogButtonBox::AcceptRole);
  auto* cancel = buttons->addButton("&Cancel", QDialogButtonBox::RejectRole);
  auto* importButton = buttons->addButton("&Import...", QDialogButtonBox::ActionRole);
  auto* undoButton = buttons->addButton("&Undo from .REC", QDialogButtonBox::ActionRole);
  auto* help = buttons->addButton("&Help", QDialogButtonBox::HelpRole);
  layout->addWidget(buttons);
  resize(980, 620);

  connect(applyButton_, &QPushButton::clicked, this, &MendoraWindow::apply);
  connect(cancel, &QPushButton::clicked, this, [this] {
    exit_ = job_.scan.findings.empty() ? kExitDone : kExitForPerson;
    reject();
  });
  connect(importButton, &QPushButton::clicked, this, [this] {
    const QString f = QFileDialog::getOpenFileName(this, "Import comma-separated history", q(cwd_),
                                                   "Comma-separated files (*.csv *.txt);;All files (*)");
    if (!f.isEmpty()) importFile(f);
  });
  connect(undoButton, &QPushButton::clicked, this, [this] {
    if (QMessageBox::question(this, "Mendora", "Put " + q(job_.target.recFile) + " back over\n" +
                                                   q(job_.target.quoteFile) + "?") == QMessageBox::Yes)
      undo();
  });
  connect(help, &QPushButton::clicked, this, &MendoraWindow::showHelp);
  connect(importWins_, &QCheckBox::toggled, this, [this](bool on) {
    choices_.importedWins = on;
    fill();
  });
  ready_ = load();
}

bool MendoraWindow::load() {
  std::string error;
  if (!resolveTarget(options_.quoteFile, cwd_, quova_.empty() ? nullptr : quova_.c_str(), &job_.target, &error) ||
      !loadJob(options_, job_.target, &job_, &error)) {
    if (!job_.target.logFile.empty()) appendLog(job_.target, error + "\n");
    QMessageBox::warning(this, "Mendora", q(error));
    exit_ = kExitBadInput;
    return false;
  }
  importWins_->setVisible(job_.imported);
  fill();
  return true;
}

void MendoraWindow::fill() {
  const Scan& s = job_.scan;
  heading_->setText(q(job_.target.quoteFile) + "\n" + q(job_.layout));
  table_->setRowCount(0);
  int row = 0;
  const auto choices = conflicts(s);
  auto inChoice = [&](const Finding& f) {
    for (const auto& [date, group] : choices)
      for (const Record* r : group)
        if (r->line == f.line && r->imported == f.imported) return true;
    return false;
  };
  for (const Finding& f : s.findings) {
    if (f.problem == Problem::DuplicateDate) continue;  // one choice per date below
    table_->insertRow(row);
    // A line of a date written twice stays only when it is the one chosen.
    const QString repair = needsPerson(f.problem) && inChoice(f) ? "left as it is if its line is kept (below)"
                                                                 : repairOf(f.problem);
    setRow(table_, row++, QString(f.imported ? "import %1" : "%1").arg(f.line), problemName(f.problem), q(f.text),
           repair);
  }
  for (const auto& [date, group] : choices) {
    table_->insertRow(row);
    QStringList lines;
    for (const Record* r : group) lines << QString(r->imported ? "import %1" : "%1").arg(r->line);
    setRow(table_, row, lines.join(", "), "same date with different values", q(group.back()->text), {});
    auto* choice = new QComboBox(table_);
    choice->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    choice->setMinimumContentsLength(20);
    for (const Record* r : group)
      choice->addItem(QString(r->imported ? "keep import row %1: " : "keep line %1: ").arg(r->line) + q(r->text));
    choice->setCurrentIndex(static_cast<int>(keptOf(group, choices_, date)));
    const int d = date;
    const std::vector<const Record*> g = group;
    connect(choice, &QComboBox::currentIndexChanged, this, [this, d, g](int i) {
      if (i < 0 || i >= static_cast<int>(g.size())) return;
      choices_.keepLine[d] = g[i]->line;
      choices_.keepImported[d] = g[i]->imported;
      refreshPreview();
    });
    table_->setCellWidget(row++, 3, choice);
  }
  table_->resizeColumnToContents(0);
  table_->resizeColumnToContents(1);
  table_->setColumnWidth(3, 300);  // a choice shows its line elided; the report below has it whole
  refreshPreview();
}

void MendoraWindow::refreshPreview() {
  const std::string no = refusal(job_);
  applyButton_->setEnabled(no.empty());
  if (!no.empty()) {
    preview_->setPlainText(q(reportText(job_, nullptr, "Result: " + no)));
    return;
  }
  const RepairPlan plan = planRepair(job_.scan, choices_, job_.today);
  const bool nothing = (job_.exists && plan.content == job_.original) || (job_.scan.findings.empty() && !job_.imported);
  preview_->setPlainText(q(reportText(
      job_, &plan, nothing ? "Nothing to write." : "Apply writes this repair; the original goes to " + job_.target.recFile)));
}

void MendoraWindow::apply() {
  std::string report;
  exit_ = repairJob(job_, choices_, &report);
  preview_->setPlainText(q(report));
  if (exit_ == kExitBadInput) {
    QMessageBox::warning(this, "Mendora", q(report.substr(report.rfind("Result: "))));
    return;
  }
  accept();
}

void MendoraWindow::importFile(const QString& path) {
  options_.importFile = path.toStdString();
  choices_ = RepairChoices{};
  importWins_->setChecked(false);
  Job fresh;
  std::string error;
  if (!loadJob(options_, job_.target, &fresh, &error)) {
    options_.importFile.clear();
    QMessageBox::warning(this, "Mendora", q(error));
    return;
  }
  job_ = std::move(fresh);
  importWins_->setVisible(true);
  fill();
}

void MendoraWindow::undo() {
  std::string message;
  const bool ok = undoRepair(job_.target, &message);
  appendLog(job_.target, message + "\n");
  if (!ok) {
    QMessageBox::warning(this, "Mendora", q(message));
    return;
  }
  options_.importFile.clear();
  choices_ = RepairChoices{};
  load();
  preview_->setPlainText(q(message) + "\n\n" + preview_->toPlainText());
}

void MendoraWindow::showHelp() {
  QMessageBox::information(
      this, "Mendora Help",
      q(usage()) + "\nThe table lists every problem with its line. Of a date written twice with different "
                   "values, choose the line to keep. Apply copies the file to its recovery copy (.REC) and "
                   "writes the repair; Undo puts the recovery copy back; Import... merges comma-separated "
                   "history into the file.");
}

}  // namespace quova::repair
