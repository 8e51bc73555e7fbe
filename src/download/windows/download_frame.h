// The main frame's side of downloads: the daily run wired to sessions that each write into
// their own output window, the main window's download commands, and the hooks a session
// needs from the windows (editor, page-link dialog, the alarm list).
#pragma once

class QObject;

namespace quova {

// Wires the daily run and the sessions to the installed frame services; called once when
// the frame is built. owner runs the run's queued steps.
void connectDownloads(QObject* owner);

// The download commands of the application (Download, Force Download, Backdate All,
// IntraDay, the .csv switches); false for any other command.
bool downloadCommand(int id);

// A close of the main window: refused while a session works, which is brought to its end
// at once; the program then closes when the download has ended.
bool downloadsCanClose();

}  // namespace quova
