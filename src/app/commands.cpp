// The tables of the command set.
#include "app/commands.h"

#include <algorithm>

namespace quova {

const std::vector<Menu>& commandsMenu() {
  static const std::vector<Menu> menu = {
      {"&File",
       {{24332, "&Open..."}, {24333, "&Save"}, {24334, "Save &As..."}, {24335, "&Revert To Saved"},
        {24339, "&Close"}, {0, {}}, {11872, "&Import"}, {0, {}}, {101, "&Print..."}, {102, "Printer set&up..."},
        {0, {}}, {24310, "E&xit"}}},
      {"&Edit", {{204, "Edit"}}},
      {"&Tools",
       {{306, "Change Line &Width"}, {307, "Change Item &Color"}, {0, {}}, {11856, "Edit &QuoteList as Text"},
        {29001, "&Edit Quotefile"}, {0, {}}, {11861, "Open Mendora.exe Program"},
        {36, "Repair or &Import Historical Quotefile"}, {259, "&Recover Pre-Mendora file"},
        {11864, "Run Mendor&a on Quotelist files"}, {0, {}}, {51682, "&Export Historical Quotefile"},
        {51684, "Export &Historical Quotefile to Spreadsheet"}, {11843, "Export Quote&List"},
        {11844, "Export &QuoteList to Spreadsheet"}, {24589, "&Copy QuoteList"}, {0, {}},
        {11872, "Import Quotes from File"}, {11873, "Show Text Image from Import File"},
        {11875, "Show Preprocessed Lines from Import"}, {11874, "Show Quote Parsing from Import"}, {0, {}},
        {11845, "Get &Page Text Image for QCF Setup "}, {11852, "Show Preprocessed Quote Lines"},
        {11853, "Show Quote Parsing Results"}, {0, {}}, {11855, "Diagnostic Hold ON"},
        {11854, "Diagnostic Hold OFF"}, {11863, "Diagnostic Displays ON"}, {11862, "Diagnostic Displays OFF"},
        {0, {}}, {11848, "&Backdate All Historical Quotefiles"}}},
      {"&Options",
       {{11842, "Setup Global Configuration"}, {9071, "Setup &External Program Pathnames"},
        {261, "Edit &QuoteList Configuration File"}, {260, "&Edit Daily       Download Command File"},
        {11851, "&Edit IntraDay Download Command File"}, {222, "Setup Download &Alarms"},
        {2510, "Show/Hide Select Quotelist Columns"}, {0, {}}, {250, "Perform &Mathematical Analysis"},
        {240, "Setup Quotefile Analysis &Options"}, {241, "Display Historical &Statistics"},
        {244, "Erase/Redraw &Plot"}, {246, "&Refresh Window/Reload Data"}, {0, {}}, {28999, "Abort Operation"},
        {0, {}}, {252, "&Save Configuration"}, {205, "QUOVA &Help"}}},
      {"&Download",
       {{255, "Daily Update from Daily.dcf (&Normal)"}, {256, "Daily Update from Daily.dcf (&Force)"}, {0, {}},
        {11846, "&Daily Update from Quotelist (Normal)"}, {11847, "Daily &Update from Quotelist (Forced)"},
        {11850, "&Single Intra-day Update from Quotelist"},
        {18875, "Start   &Intra-day Updates from Intraday.dcf"}, {0, {}}, {11870, "Set Download &Options"},
        {0, {}}, {11865, "Create .csv Image of Downloads ON"}, {11868, "Create .csv Image of Downloads OFF"},
        {11866, "New .csv File for each Download"}, {11869, "Append .csv File at each Download"},
        {11867, "Clear quotes.csv File"}}},
      {"&Links",
       {{51683, "Quote Page Link to Browser"}, {9070, "Internet (Quote Page) Symbol Lookup"},
        {10101, "Export &Historical Quotefile to Spreadsheet"}, {0, {}}, {11857, "QUOVA &Home Page"},
        {11871, "QUOVA Online &Manual"}, {11858, "QUOVA Tech &Support Page"}}},
      {"&Window",
       {{24361, "&Cascade"}, {24362, "&Tile"}, {24364, "Arrange &Icons"}, {24365, "C&lose All"},
        {24341, "Add &View"}}},
      {"&Help",
       {{512, "&Index"}, {513, "&Using help"}, {0, {}}, {11857, "QUOVA &Home Page"},
        {11871, "QUOVA Online &Manual"}, {11858, "QUOVA Tech &Support Page"}, {0, {}}, {514, "&About"}}},
  };
  return menu;
}

const std::vector<Gadget>& controlBarGadgets() {
  using G = Gadget;
  static const std::vector<Gadget> bar = {
      {G::Button, 24332, "Open an existing document", "CM_FILEOPEN", false},
      {G::Button, 24333, "Save this document", "CM_FILESAVE", false},
      {G::Separator},
      {G::Button, 306, "Changes the selected line width (see Setup)", "CM_LINEWIDTH", false},
      {G::Button, 307, "Changes the selected item color (see Setup)", "CM_COLOR", false},
      {G::LargeSeparator},
      {G::Button, 2510, "Show/Hide Select Quotelist Columns", "CM_COLUMNS"},
      {G::Button, 27387, "Add a Quote Request to Quotelist", "CM_ADDQUOTE"},
      {G::Button, 222, "Setup Alarms for Downloaded Quotes", "CM_ALARMS"},
      {G::Button, 11846,
       "Perform Normal Download Update of Stocks in this QuoteList (will bypass already updated Quote requests)",
       "CM_QLDOWNLOAD"},
      {G::Button, 11870, "Select optional download configurations", "CM_DLOPTIONS"},
      {G::Button, 24589,
       "Copy QuoteList/Configuration File to new base name for editing/creating new quotelist pair",
       "CM_COPYQL"},
      {G::Separator},
      {G::Button, 250, "Perform Mathematical Analysis", "CM_ANALYSIS"},
      {G::Button, 240, "Setup Quotefile Unique Analysis Options", "CM_ANALYSISOPTIONS"},
      {G::Separator},
      {G::Button, 241, "Display Historical Statistics", "CM_STATISTICS"},
      {G::LargeSeparator},
      {G::DateText},
      {G::LargeSeparator},
      {G::Button, 36, "Mendora or Import CSV-Formatted .day Historical Quotefile (HQF)", "CM_MENDORA"},
      {G::Separator},
      {G::Button, 10101, "Export HQF to exports directory and run Spreadsheet", "CM_SPREADSHEET"},
      {G::Button, 29001, "Edit Historical Quote File as Text", "CM_EDITQUOTEFILE"},
      {G::Separator},
      {G::Button, 246, "Refresh/Reload Screen to Update Data", "CM_REFRESH"},
      {G::LargeSeparator},
      {G::Button, 244, "Erase/Redraw Plot", "CM_REDRAW"},
      {G::Button, 11842, "Global Setup Options Dialog Box", "CM_SETUPOPTIONS"},
      {G::Separator},
      {G::Button, 28999, "Abort current task", "CM_STOP"},
      {G::Button, 205, "Open an information dialog box", "CM_ABOUT", false},
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
  static const int ids[] = {cm::FILEOPEN,    cm::EXIT,         cm::CASCADE,     cm::TILE,        cm::ARRANGEICONS,
                            cm::CLOSECHILDREN, cm::ABOUT,      cm::HELPABOUT,   cm::HELPINDEX,   cm::HELPHELP,
                            cm::SAVECONFIG,  cm::DOWNLOADEDIT, cm::INTRADAYDCF, cm::RESETDLDATE, cm::DIAGDISPLON,
                            cm::DIAGDISPLOFF, cm::DIAGHOLDON,  cm::DIAGHOLDOFF, cm::STOP,        cm::PRINT,
                            cm::OPENMENDORA, cm::HOMEPAGE,     cm::OLMANUAL,    cm::TECHSUPPORT,
                            cm::SETUPCONFIG, cm::SETUPOPTIONS, cm::SETUPPATHNAMES, cm::DOWNLOAD,
                            cm::FORCEDOWNLOAD, cm::BACKDATEALL, cm::INTRADAY, cm::CSVON, cm::CSVOFF,
                            cm::CSVNEW, cm::CSVAPPEND, cm::CSVCLEAR};
  return std::find(std::begin(ids), std::end(ids), id) != std::end(ids);
}

}  // namespace quova
