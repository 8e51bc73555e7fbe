// The document template list.
#include "app/windows/doc_templates.h"

#include <algorithm>
#include <cctype>

#include "app/windows/text_editor.h"

namespace quova {

namespace {
QWidget* newTextEditor(const std::string& path) { return new TextEditorView(path); }
}  // namespace

std::vector<DocTemplate>& docTemplates() {
  static std::vector<DocTemplate> list = {
      {DocKind::QuoteList, "Quote List files", "*.qtl", "QTL", true, {}},
      {DocKind::Download, "Daily Quotes Download (*.qtl)", "*.qtl", "QTL", true, {}},
      {DocKind::DownloadList, "Daily Quotes Download", "  *.qtl", "QTL", false, {}},
      {DocKind::Chart, "Quote Files (*.day)", "*.day", "DAY", true, {}},
      {DocKind::DownloadCommands, "Edit Download Command Files", "*.dcf", "DCF", true, newTextEditor},
      {DocKind::QuoteListConfig, "Edit Quotlist Configuration Files", "*.qcf", "QCF", true, newTextEditor},
      {DocKind::Text, "Edit Text files", "*.txt", "TXT", true, newTextEditor},
  };
  return list;
}

const DocTemplate& docTemplate(DocKind kind) {
  auto& list = docTemplates();
  return *std::find_if(list.begin(), list.end(), [kind](const DocTemplate& t) { return t.kind == kind; });
}

void setViewFactory(DocKind kind, ViewFactory f) {
  for (DocTemplate& t : docTemplates())
    if (t.kind == kind) t.createView = std::move(f);
}

bool filterMatches(std::string_view filter, std::string_view path) {
  if (filter.size() < 2 || filter.substr(0, 2) != "*.") return false;
  const std::string_view ext = filter.substr(1);  // ".qtl"
  if (path.size() <= ext.size()) return false;
  const std::string_view tail = path.substr(path.size() - ext.size());
  const std::string_view base = path.substr(0, path.size() - ext.size());
  if (base.back() == '/' || base.back() == '\\') return false;  // a bare ".qtl" is no name
  return std::equal(tail.begin(), tail.end(), ext.begin(), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
  });
}

const DocTemplate* MatchTemplate(const std::string& path) {
  for (const DocTemplate& t : docTemplates())
    if (t.visible && t.createView && filterMatches(t.filter, path)) return &t;
  return nullptr;
}

QString openFileFilters() {
  QStringList out;
  for (const DocTemplate& t : docTemplates()) {
    if (!t.visible || !t.createView) continue;
    QString d = QString::fromUtf8(t.description.data(), static_cast<int>(t.description.size()));
    QString f = QString::fromUtf8(t.filter.data(), static_cast<int>(t.filter.size()));
    out << (d.contains('(') ? d : d + " (" + f + ")");
  }
  return out.join(";;");
}

}  // namespace quova
