// Run > History...: how much of each run the window keeps for Step Back, Run Back and the time
// cursor. A small dialog says in plain words what is kept now, turns the recording off and on
// and chooses how much is kept; both choices live in the toolkit's settings store (keys
// `history/recording` and `history/bound`) and reach the run control at once.
#pragma once

#include <QObject>
#include <QString>

#include "run_history.h"

class QAction;
class QCheckBox;
class QComboBox;
class QDialog;
class QLabel;
class QTimer;
class QWidget;
class RunControl;

// A bound the dialog offers: its key in the settings store, its words, the bound itself.
struct HistoryChoice {
    const char* key;
    const char* text;
    HistoryBound bound;
};

// order: the dialog's list, shortest first; STANDARD_HISTORY is the default.
inline constexpr HistoryChoice HISTORY_CHOICES[] = {
    {"short", "100,000 statements or 1 minute, within 16 MB",
     HistoryBound{100'000, 60'000, std::size_t{16} << 20}},
    {"standard", "1,000,000 statements or 10 minutes, within 64 MB", HistoryBound{}},
    {"long", "10,000,000 statements or 60 minutes, within 256 MB",
     HistoryBound{10'000'000, 3'600'000, std::size_t{256} << 20}},
};
inline constexpr int STANDARD_HISTORY = 1;

// What is kept, in the dialog's words.
QString history_kept_text(bool recording, const RunHistory& history);

class HistorySettings : public QObject {
    Q_OBJECT
   public:
    // Reads the settings store and sets `run_control`'s recording and bound from it.
    HistorySettings(RunControl* run_control, QWidget* window);

    // The menu entry that opens the dialog.
    QAction* action() const { return action_; }
    bool recording() const;
    // The index in HISTORY_CHOICES of the bound in use.
    int choice() const { return choice_; }
    // Not while the run shows a moment of its past.
    void set_recording(bool on);
    void set_choice(int index);
    // Made when first shown; nullptr before.
    QDialog* dialog() const { return dialog_; }
    void show_dialog();
    // The dialog's text again, after the run or the history moved.
    void refresh();

   signals:
    // The recording was turned off or on: whether Step Back can go back changes with it.
    void recordingChanged(bool on);

   private:
    void build_dialog();

    RunControl* run_control_;
    QWidget* window_;
    QAction* action_;
    int choice_ = STANDARD_HISTORY;
    QDialog* dialog_ = nullptr;
    QLabel* kept_ = nullptr;
    QCheckBox* record_ = nullptr;
    QComboBox* bound_ = nullptr;
    // While the dialog shows, its text follows a running program.
    QTimer* follow_ = nullptr;
};
