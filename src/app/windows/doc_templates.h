// The document templates in list order: which window a file opens in. A file opens with the
// first visible template whose filter matches its name and whose window exists; the quote
// list, download and chart windows give their views here, the text editor is given from the
// start.
#pragma once

#include <QString>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class QWidget;

namespace quova {

enum class DocKind { QuoteList, Download, DownloadList, Chart, DownloadCommands, QuoteListConfig, Text };

using ViewFactory = std::function<QWidget*(const std::string& path)>;

struct DocTemplate {
  DocKind kind;
  std::string_view description;
  std::string_view filter;  // "*.qtl"; the hidden template's "  *.qtl" matches no file name
  std::string_view defaultExt;
  bool visible = true;
  ViewFactory createView;  // empty while the window does not exist
};

// The seven templates in list order.
std::vector<DocTemplate>& docTemplates();
const DocTemplate& docTemplate(DocKind kind);
void setViewFactory(DocKind kind, ViewFactory f);

// True when the file name matches the filter ("*.ext", letter case ignored).
bool filterMatches(std::string_view filter, std::string_view path);
// The template the document manager opens the file with; nullptr when none matches.
const DocTemplate* MatchTemplate(const std::string& path);
// The file dialog's filter list: the visible templates that have a window, in order.
QString openFileFilters();

}  // namespace quova
