// The session ends from outside (SIGTERM, SIGINT, SIGHUP): the unsaved text and the recorded
// slider moves are kept for the next start, and the window closes with no question that nobody
// would answer. The handlers are the process's from construction to destruction.
#pragma once

#include <signal.h>

#include <QObject>

class ProgramDocument;
class QSocketNotifier;
class QWidget;
class SettingsFile;
class SliderRecorder;

class ClosingSignals : public QObject {
    Q_OBJECT
   public:
    ClosingSignals(ProgramDocument* document, SliderRecorder* slider_recorder,
                   SettingsFile* settings, QWidget* window);
    ~ClosingSignals() override;
    ClosingSignals(const ClosingSignals&) = delete;
    ClosingSignals& operator=(const ClosingSignals&) = delete;

    // The close was asked for by a signal: nobody is there to answer a question.
    bool closing() const { return closing_; }

   private:
    void close_window();

    ProgramDocument* document_;
    SliderRecorder* slider_recorder_;
    SettingsFile* settings_;
    QWidget* window_;
    QSocketNotifier* notifier_ = nullptr;
    struct sigaction old_actions_[3] = {};
    bool closing_ = false;
};
