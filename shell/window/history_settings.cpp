#include "history_settings.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <QSettings>
#include <QTimer>
#include <QVBoxLayout>
#include <iterator>

#include "run_control.h"

namespace {

const char* const RECORDING_KEY = "history/recording";
const char* const BOUND_KEY = "history/bound";

QSettings user_settings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, "zorvant", "zorvant");
}

constexpr int CHOICE_COUNT = static_cast<int>(std::size(HISTORY_CHOICES));

int choice_named(const QString& key) {
    for (int k = 0; k < CHOICE_COUNT; ++k) {
        if (key == QLatin1String(HISTORY_CHOICES[k].key)) return k;
    }
    return STANDARD_HISTORY;
}

// "12.5", "600": tenths only where they say something.
QString tenths(double value) {
    QString text = QString::number(value, 'f', 1);
    if (text.endsWith(QLatin1String(".0"))) text.chop(2);
    return text;
}

}  // namespace

QString history_kept_text(bool recording, const RunHistory& history) {
    if (!recording) {
        return QStringLiteral(
            "Nothing is kept: recording is off, so Step Back and Run Back cannot go back.");
    }
    if (history.empty()) return QStringLiteral("Nothing is kept yet: the next run will be.");
    const RunMoment first = history.first();
    const RunMoment last = history.last();
    const long long statements = last.step - first.step;
    const double seconds = (static_cast<double>(last.clock_ms) - first.clock_ms) / 1000.0;
    const double bytes = static_cast<double>(history.bytes());
    const QString size = bytes < (1 << 20) ? tenths(bytes / (1 << 10)) + QStringLiteral(" KB")
                                           : tenths(bytes / (1 << 20)) + QStringLiteral(" MB");
    return QStringLiteral("The last %1 %2 / %3 seconds of the run are kept (%4).")
        .arg(QLocale(QLocale::English, QLocale::UnitedStates).toString(statements),
             statements == 1 ? QStringLiteral("statement") : QStringLiteral("statements"),
             tenths(seconds), size);
}

HistorySettings::HistorySettings(RunControl* run_control, QWidget* window)
    : QObject(window), run_control_(run_control), window_(window), action_(new QAction(this)) {
    action_->setText("&History...");
    action_->setObjectName("act_history");
    action_->setToolTip("How much of each run is kept for Step Back and Run Back");
    connect(action_, &QAction::triggered, this, &HistorySettings::show_dialog);
    QSettings settings = user_settings();
    choice_ = choice_named(settings.value(BOUND_KEY).toString());
    run_control_->set_history_bound(HISTORY_CHOICES[choice_].bound);
    run_control_->set_recording(settings.value(RECORDING_KEY, true).toBool());
}

bool HistorySettings::recording() const {
    return run_control_->recording();
}

void HistorySettings::set_recording(bool on) {
    // Shown a moment of its past, the run needs its history to go on from there or come back.
    if (on == recording() || run_control_->history().in_past()) return;
    run_control_->set_recording(on);
    user_settings().setValue(RECORDING_KEY, on);
    refresh();
    emit recordingChanged(on);
}

void HistorySettings::set_choice(int index) {
    if (index < 0 || index >= CHOICE_COUNT || index == choice_) return;
    choice_ = index;
    run_control_->set_history_bound(HISTORY_CHOICES[index].bound);
    user_settings().setValue(BOUND_KEY, QString::fromLatin1(HISTORY_CHOICES[index].key));
    refresh();
}

void HistorySettings::show_dialog() {
    if (dialog_ == nullptr) build_dialog();
    refresh();
    dialog_->show();
    follow_->start();
    dialog_->raise();
    dialog_->activateWindow();
}

void HistorySettings::refresh() {
    if (dialog_ == nullptr) return;
    kept_->setText(history_kept_text(recording(), run_control_->history()));
    // The controls follow changes made elsewhere (a test, the next start) without calling back.
    const QSignalBlocker quiet_record(record_);
    const QSignalBlocker quiet_bound(bound_);
    record_->setChecked(recording());
    record_->setEnabled(!run_control_->history().in_past());
    bound_->setCurrentIndex(choice_);
    bound_->setEnabled(recording());
}

void HistorySettings::build_dialog() {
    dialog_ = new QDialog(window_);
    dialog_->setObjectName("history_dialog");
    dialog_->setWindowTitle("History");
    kept_ = new QLabel(dialog_);
    kept_->setObjectName("history_kept");
    kept_->setWordWrap(true);
    kept_->setTextFormat(Qt::PlainText);
    record_ = new QCheckBox("&Record each run, to step back through it", dialog_);
    record_->setObjectName("history_recording");
    record_->setToolTip("Off, nothing is kept and a run costs nothing more");
    bound_ = new QComboBox(dialog_);
    bound_->setObjectName("history_bound");
    bound_->setAccessibleName("History kept");
    for (const HistoryChoice& c : HISTORY_CHOICES) bound_->addItem(QString::fromLatin1(c.text));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog_);
    connect(buttons, &QDialogButtonBox::rejected, dialog_, &QDialog::reject);
    connect(record_, &QCheckBox::toggled, this, &HistorySettings::set_recording);
    connect(bound_, &QComboBox::currentIndexChanged, this, &HistorySettings::set_choice);

    auto* form = new QFormLayout;
    form->addRow("&Keep at least:", bound_);
    auto* rows = new QVBoxLayout(dialog_);
    rows->addWidget(kept_);
    rows->addWidget(record_);
    rows->addLayout(form);
    rows->addWidget(buttons);

    // A running program moves the history on; while the dialog shows, its words follow.
    follow_ = new QTimer(dialog_);
    follow_->setInterval(500);
    connect(follow_, &QTimer::timeout, this, &HistorySettings::refresh);
    connect(dialog_, &QDialog::finished, follow_, &QTimer::stop);
}
