// The tables of the command set.
#include "app/commands.h"

#include "base/command_ids.h"

#include <algorithm>

namespace quova {

const std::vector<Menu>& commandsMenu() {
  static const std::vector<Menu> menu = {
      {"&File",
       {{cm::FILEOPEN, "&Open..."},
        {cm::FILESAVE, "&Save"},
        {cm::FILESAVEAS, "Save &As..."},
        {cm::FILEREVERT, "&Revert To Saved"},
        {cm::FILECLOSE, "&Close"},
        {0, {}},
        {cm::FILEIMPORT, "&Import"},
        {0, {}},
        {cm::PRINT, "&Print..."},
        {cm::PRINTERSETUP, "Printer set&up..."},
        {cm::EXPORTCHARTIMAGE, "Export Chart &Image..."},
        {0, {}},
        {cm::EXIT, "E&xit"}}},
      {"&Edit", {{cm::EDIT_PLACEHOLDER, "Edit"}}},
      {"&Tools",
       {{cm::LINEWIDTH, "Change Line &Width"},
        {cm::COLOR, "Change Item &Color"},
        {0, {}},
        {cm::EDITQL, "Edit &QuoteList as Text"},
        {cm::EDITHQF, "&Edit Quotefile"},
        {0, {}},
        {cm::OPENMENDORA, "Open Mendora.exe Program"},
        {cm::REPAIRHQF, "Repair or &Import Historical Quotefile"},
        {cm::MENDORARECOVER, "&Recover Pre-Mendora file"},
        {cm::MENDORAQUOTELIST, "Run Mendor&a on Quotelist files"},
        {0, {}},
        {cm::FILEEXPORT, "&Export Historical Quotefile"},
        {cm::HQFTOSPREADSHEET, "Export &Historical Quotefile to Spreadsheet"},
        {cm::QUOTELISTEXPORT, "Export Quote&List"},
        {cm::QLTOSPREADSHEET, "Export &QuoteList to Spreadsheet"},
        {cm::COPYQL, "&Copy QuoteList"},
        {0, {}},
        {cm::FILEIMPORT, "Import Quotes from File"},
        {cm::IMPORTTEXTIMAGE, "Show Text Image from Import File"},
        {cm::IMPORTLINES, "Show Preprocessed Lines from Import"},
        {cm::IMPORTPARSING, "Show Quote Parsing from Import"},
        {0, {}},
        {cm::GETPAGE, "Get &Page Text Image for QCF Setup "},
        {cm::SHOWPREPROCESSEDLINE, "Show Preprocessed Quote Lines"},
        {cm::SHOWPARSEDQUOTES, "Show Quote Parsing Results"},
        {0, {}},
        {cm::DIAGHOLDON, "Diagnostic Hold ON"},
        {cm::DIAGHOLDOFF, "Diagnostic Hold OFF"},
        {cm::DIAGDISPLON, "Diagnostic Displays ON"},
        {cm::DIAGDISPLOFF, "Diagnostic Displays OFF"},
        {0, {}},
        {cm::BACKDATEALL, "&Backdate All Historical Quotefiles"}}},
      {"&Options",
       {{cm::SETUPOPTIONS, "Setup Global Configuration"},
        {cm::SETUPPATHNAMES, "Setup &External Program Pathnames"},
        {cm::QTLCONFIGEDIT, "Edit &QuoteList Configuration File"},
        {cm::DOWNLOADEDIT, "&Edit Daily       Download Command File"},
        {cm::INTRADAYDCF, "&Edit IntraDay Download Command File"},
        {cm::ALARMS, "Setup Download &Alarms"},
        {cm::SHOWALL, "Show/Hide Select Quotelist Columns"},
        {0, {}},
        {cm::ANALYSIS, "Perform &Mathematical Analysis"},
        {cm::ANALYSISOPTIONS, "Setup Quotefile Analysis &Options"},
        {cm::STATISTICS, "Display Historical &Statistics"},
        {cm::ERASEREDRAW, "Erase/Redraw &Plot"},
        {cm::REFRESH, "&Refresh Window/Reload Data"},
        {0, {}},
        {cm::STOP, "Abort Operation"},
        {0, {}},
        {cm::SAVECONFIG, "&Save Configuration"},
        {cm::ABOUT, "QUOVA &Help"}}},
      {"&Download",
       {{cm::DOWNLOAD, "Daily Update from Daily.dcf (&Normal)"},
        {cm::FORCEDOWNLOAD, "Daily Update from Daily.dcf (&Force)"},
        {0, {}},
        {cm::UPDATE, "&Daily Update from Quotelist (Normal)"},
        {cm::UPDATEFORCED, "Daily &Update from Quotelist (Forced)"},
        {cm::INTRADAYUPDATE, "&Single Intra-day Update from Quotelist"},
        {cm::INTRADAYUPDATES, "Start   &Intra-day Updates from Intraday.dcf"},
        {0, {}},
        {cm::DLOPTIONS, "Set Download &Options"},
        {0, {}},
        {cm::CSVON, "Create .csv Image of Downloads ON"},
        {cm::CSVOFF, "Create .csv Image of Downloads OFF"},
        {cm::CSVNEW, "New .csv File for each Download"},
        {cm::CSVAPPEND, "Append .csv File at each Download"},
        {cm::CSVCLEAR, "Clear quotes.csv File"}}},
      {"&Links",
       {{cm::BROWSERLINK, "Quote Page Link to Browser"},
        {cm::SYMBOLLOOKUP, "Internet (Quote Page) Symbol Lookup"},
        {cm::SPREADSHEET, "Export &Historical Quotefile to Spreadsheet"},
        {0, {}},
        {cm::HOMEPAGE, "QUOVA &Home Page"},
        {cm::OLMANUAL, "QUOVA Online &Manual"},
        {cm::TECHSUPPORT, "QUOVA Tech &Support Page"}}},
      {"&Window",
       {{cm::CASCADE, "&Cascade"},
        {cm::TILE, "&Tile"},
        {cm::ARRANGEICONS, "Arrange &Icons"},
        {cm::CLOSECHILDREN, "C&lose All"},
        {cm::ADDVIEW, "Add &View"}}},
      {"&Help",
       {{cm::HELPINDEX, "&Index"},
        {cm::HELPHELP, "&Using help"},
        {0, {}},
        {cm::HOMEPAGE, "QUOVA &Home Page"},
        {cm::OLMANUAL, "QUOVA Online &Manual"},
        {cm::TECHSUPPORT, "QUOVA Tech &Support Page"},
        {0, {}},
        {cm::HELPABOUT, "&About"}}},
  };
  return menu;
}

const std::vector<Gadget>& controlBarGadgets() {
  using G = Gadget;
  static const std::vector<Gadget> bar = {
      {G::Button, cm::FILEOPEN, "Open an existing document", "CM_FILEOPEN", false},
      {G::Button, cm::FILESAVE, "Save this document", "CM_FILESAVE", false},
      {G::Separator},
      {G::Button, cm::LINEWIDTH, "Changes the selected line width (see Setup)", "CM_LINEWIDTH", false},
      {G::Button, cm::COLOR, "Changes the selected item color (see Setup)", "CM_COLOR", false},
      {G::LargeSeparator},
      {G::Button, cm::SHOWALL, "Show/Hide Select Quotelist Columns", "CM_COLUMNS"},
      {G::Button, cm::EDITADD, "Add a Quote Request to Quotelist", "CM_ADDQUOTE"},
      {G::Button, cm::ALARMS, "Setup Alarms for Downloaded Quotes", "CM_ALARMS"},
      {G::Button, cm::UPDATE,
       "Perform Normal Download Update of Stocks in this QuoteList (will bypass already updated Quote requests)",
       "CM_QLDOWNLOAD"},
      {G::Button, cm::DLOPTIONS, "Select optional download configurations", "CM_DLOPTIONS"},
      {G::Button, cm::COPYQL,
       "Copy QuoteList/Configuration File to new base name for editing/creating new quotelist pair", "CM_COPYQL"},
      {G::Separator},
      {G::Button, cm::ANALYSIS, "Perform Mathematical Analysis", "CM_ANALYSIS"},
      {G::Button, cm::ANALYSISOPTIONS, "Setup Quotefile Unique Analysis Options", "CM_ANALYSISOPTIONS"},
      {G::Separator},
      {G::Button, cm::STATISTICS, "Display Historical Statistics", "CM_STATISTICS"},
      {G::LargeSeparator},
      {G::DateText},
      {G::LargeSeparator},
      {G::Button, cm::REPAIRHQF, "Mendora or Import CSV-Formatted .day Historical Quotefile (HQF)", "CM_MENDORA"},
      {G::Separator},
      {G::Button, cm::SPREADSHEET, "Export HQF to exports directory and run Spreadsheet", "CM_SPREADSHEET"},
      {G::Button, cm::EDITHQF, "Edit Historical Quote File as Text", "CM_EDITQUOTEFILE"},
      {G::Separator},
      {G::Button, cm::REFRESH, "Refresh/Reload Screen to Update Data", "CM_REFRESH"},
      {G::LargeSeparator},
      {G::Button, cm::ERASEREDRAW, "Erase/Redraw Plot", "CM_REDRAW"},
      {G::Button, cm::SETUPOPTIONS, "Global Setup Options Dialog Box", "CM_SETUPOPTIONS"},
      {G::Separator},
      {G::Button, cm::STOP, "Abort current task", "CM_STOP"},
      {G::Button, cm::ABOUT, "Open an information dialog box", "CM_ABOUT", false},
  };
  return bar;
}

std::string_view commandHint(int id) {
  for (const Gadget& g : controlBarGadgets())
    if (g.kind == Gadget::Button && g.id == id) return g.hint;
  if (id == cm::EDIT_PLACEHOLDER) return "No document to edit";
  return {};
}

bool applicationHandles(int id) {
  static const int ids[] = {
      cm::FILEOPEN,    cm::EXIT,         cm::CASCADE,        cm::TILE,         cm::ARRANGEICONS,  cm::CLOSECHILDREN,
      cm::ABOUT,       cm::HELPABOUT,    cm::HELPINDEX,      cm::HELPHELP,     cm::SAVECONFIG,    cm::DOWNLOADEDIT,
      cm::INTRADAYDCF, cm::RESETDLDATE,  cm::DIAGDISPLON,    cm::DIAGDISPLOFF, cm::DIAGHOLDON,    cm::DIAGHOLDOFF,
      cm::STOP,        cm::PRINT,        cm::OPENMENDORA,    cm::HOMEPAGE,     cm::OLMANUAL,      cm::TECHSUPPORT,
      cm::SETUPCONFIG, cm::SETUPOPTIONS, cm::SETUPPATHNAMES, cm::DOWNLOAD,     cm::FORCEDOWNLOAD, cm::BACKDATEALL,
      cm::INTRADAY,    cm::CSVON,        cm::CSVOFF,         cm::CSVNEW,       cm::CSVAPPEND,     cm::CSVCLEAR};
  return std::find(std::begin(ids), std::end(ids), id) != std::end(ids);
}

}  // namespace quova
