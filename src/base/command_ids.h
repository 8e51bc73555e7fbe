// The command ids of every menu, control-bar button, accelerator and window handler, in one
// table. The numbers are the menu resource ids the program has always used; nothing else in
// the program writes a command as a bare number.
#pragma once

namespace quova::cm {

// File menu.
inline constexpr int FILEOPEN = 24332;
inline constexpr int FILESAVE = 24333;
inline constexpr int FILESAVEAS = 24334;
inline constexpr int FILEREVERT = 24335;
inline constexpr int FILECLOSE = 24339;
inline constexpr int FILEIMPORT = 11872;  // "&Import" and "Import Quotes from File"
inline constexpr int PRINT = 101;
inline constexpr int PRINTERSETUP = 102;
inline constexpr int EXPORTCHARTIMAGE = 11876;  // "Export Chart &Image..." (PNG or PDF)
inline constexpr int EXIT = 24310;

// Edit: the frame's placeholder, which the active view replaces with its own Edit menu.
inline constexpr int EDIT_PLACEHOLDER = 204;

// Tools menu.
inline constexpr int LINEWIDTH = 306;  // "Change Line &Width" (the chart's pen size)
inline constexpr int COLOR = 307;      // "Change Item &Color" (the chart's pen colour)
inline constexpr int EDITQL = 11856;
inline constexpr int EDITHQF = 29001;
inline constexpr int OPENMENDORA = 11861;
inline constexpr int REPAIRHQF = 36;  // "Repair or &Import Historical Quotefile"
inline constexpr int MENDORARECOVER = 259;
inline constexpr int MENDORAQUOTELIST = 11864;
inline constexpr int FILEEXPORT = 51682;
inline constexpr int HQFTOSPREADSHEET = 51684;  // the Tools entry; SPREADSHEET does the same
inline constexpr int QUOTELISTEXPORT = 11843;
inline constexpr int QLTOSPREADSHEET = 11844;
inline constexpr int COPYQL = 24589;
inline constexpr int IMPORTTEXTIMAGE = 11873;
inline constexpr int IMPORTLINES = 11875;
inline constexpr int IMPORTPARSING = 11874;
inline constexpr int GETPAGE = 11845;
inline constexpr int SHOWPREPROCESSEDLINE = 11852;
inline constexpr int SHOWPARSEDQUOTES = 11853;
inline constexpr int DIAGHOLDON = 11855;
inline constexpr int DIAGHOLDOFF = 11854;
inline constexpr int DIAGDISPLON = 11863;
inline constexpr int DIAGDISPLOFF = 11862;
inline constexpr int BACKDATEALL = 11848;

// Options menu.
inline constexpr int SETUPOPTIONS = 11842;
inline constexpr int SETUPCONFIG = 254;  // no menu entry; the same dialog as SETUPOPTIONS
inline constexpr int SETUPPATHNAMES = 9071;
inline constexpr int QTLCONFIGEDIT = 261;
inline constexpr int DOWNLOADEDIT = 260;
inline constexpr int INTRADAYDCF = 11851;
inline constexpr int ALARMS = 222;
inline constexpr int SHOWALL = 2510;  // "Show/Hide Select Quotelist Columns"
inline constexpr int ANALYSIS = 250;
inline constexpr int ANALYSISOPTIONS = 240;
inline constexpr int STATISTICS = 241;
inline constexpr int ERASEREDRAW = 244;
inline constexpr int REFRESH = 246;
inline constexpr int STOP = 28999;  // "Abort Operation"
inline constexpr int SAVECONFIG = 252;
inline constexpr int ABOUT = 205;  // "QUOVA &Help": the About dialog

// Download menu.
inline constexpr int DOWNLOAD = 255;
inline constexpr int FORCEDOWNLOAD = 256;
inline constexpr int UPDATE = 11846;
inline constexpr int UPDATEFORCED = 11847;
inline constexpr int INTRADAYUPDATE = 11850;
inline constexpr int INTRADAYUPDATES = 18875;  // no handler: always disabled
inline constexpr int DLOPTIONS = 11870;
inline constexpr int CSVON = 11865;
inline constexpr int CSVOFF = 11868;
inline constexpr int CSVNEW = 11866;
inline constexpr int CSVAPPEND = 11869;
inline constexpr int CSVCLEAR = 11867;

// Links menu (HOMEPAGE, OLMANUAL and TECHSUPPORT are in the Help menu too).
inline constexpr int BROWSERLINK = 51683;
inline constexpr int SYMBOLLOOKUP = 9070;
inline constexpr int SPREADSHEET = 10101;  // "Export &Historical Quotefile to Spreadsheet"
inline constexpr int HOMEPAGE = 11857;
inline constexpr int OLMANUAL = 11871;
inline constexpr int TECHSUPPORT = 11858;

// Window menu.
inline constexpr int CASCADE = 24361;
inline constexpr int TILE = 24362;
inline constexpr int ARRANGEICONS = 24364;
inline constexpr int CLOSECHILDREN = 24365;
inline constexpr int ADDVIEW = 24341;

// Help menu.
inline constexpr int HELPINDEX = 512;
inline constexpr int HELPHELP = 513;
inline constexpr int HELPABOUT = 514;

// Commands without a menu entry.
inline constexpr int RESETDLDATE = 257;
inline constexpr int INTRADAY = 11849;

// The quote list window's Edit menu.
inline constexpr int EDITUNDO = 27381;
inline constexpr int EDITCUT = 27382;
inline constexpr int EDITCOPY = 27383;
inline constexpr int EDITPASTE = 27384;
inline constexpr int EDITDELETE = 27385;
inline constexpr int EDITCLEAR = 27386;
inline constexpr int EDITADD = 27387;  // also the control-bar button
inline constexpr int EDITADD2 = 1010;  // the same command from the list's own menu
inline constexpr int EDITITEM = 27388;

// The line commands of the chart and download windows' Edit menus.
inline constexpr int LINEUNDO = 208;
inline constexpr int LINECLEARALL = 209;
inline constexpr int LINEDELETE = 210;

}  // namespace quova::cm
