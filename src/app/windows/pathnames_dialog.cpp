// The External Program Pathnames dialog and the command that runs it.
#include "app/windows/pathnames_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/setup_checks.h"
#include "app/windows/byte_limit.h"
#include "app/windows/global_setup.h"
#include "base/host.h"
#include "base/log.h"
#include "settings/settings.h"

namespace quova {

namespace {

QString idName(int id) { return QStringLiteral("control%1").arg(id); }

struct PathField {
  int id;
  const char* label;
  std::string PathBufferRecord::*path;
};
constexpr PathField kFields[] = {
    {101, "Path to Text Editor for QuoteFile Review (WordPad,exe recommended)", &PathBufferRecord::EditorPath},
    {102, "Path to Web Browser", &PathBufferRecord::BrowserPath},
    {103, "Path to Spreadsheet", &PathBufferRecord::SpreadsheetPath},
};

}  // namespace

pathDialog::pathDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle("QUOVA External Program Reference Pathnames Setup Window");
  auto* all = new QVBoxLayout(this);
  const PathBufferRecord& p = settings().TPathBuffer;
  for (const PathField& f : kFields) {
    all->addWidget(new QLabel(f.label, this));
    auto* e = new QLineEdit(QString::fromStdString(p.*f.path), this);
    e->setObjectName(idName(f.id));
    e->setMaxLength(kPathnameMax);
    e->setValidator(new ByteLimitValidator(kPathnameMax, e));
    e->setMinimumWidth(420);
    all->addWidget(e);
  }
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  auto* ok = new QPushButton("OK", this);
  auto* cancel = new QPushButton("Cancel", this);
  auto* help = new QPushButton("Help", this);
  ok->setObjectName(idName(1));
  cancel->setObjectName(idName(2));
  help->setObjectName(idName(9));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &pathDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(help, &QPushButton::clicked, this, [this] { CmHelp(); });
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  buttons->addWidget(help);
  all->addLayout(buttons);
}

QLineEdit* pathDialog::edit(int id) const { return findChild<QLineEdit*>(idName(id)); }

void pathDialog::accept() {
  PathBufferRecord& p = settings().TPathBuffer;
  for (const PathField& f : kFields) p.*f.path = edit(f.id)->text().toStdString();
  QDialog::accept();
}

void pathDialog::CmHelp() { MessageBox(pathnamesHelpText(), kPathnamesHelpCaption, mb::OK); }

bool CmSetupPathnames(QWidget* parent) {
  pathDialog dlg(parent);
  const bool ok = runModalDialog(dlg, [&] {
    dlg.accept();
    return true;
  });
  if (ok) SaveIniFile();
  return ok;
}

}  // namespace quova
