// What the program asks of the person at the screen: file dialogs, messages,
// yes/no questions, a number and the busy cursor. Kept apart from the rest of the
// runtime because tests link scripted versions of exactly these instead.
#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

#include "platform/qt_text.h"
#include "platform/runtime_internal.h"

namespace fe {

using detail::qt;
using detail::window_widget;

namespace {

// "bmp-Image(*.bmp);jpg-Image(*.jpg)" as Qt filters; each pattern also in upper
// case, since this platform's file names are case-sensitive.
QStringList name_filters(std::string_view filter)
{
    QStringList filters;
    for (const QString& entry : qt(filter).split(';', Qt::SkipEmptyParts)) {
        const qsizetype open = entry.indexOf('(');
        const qsizetype close = entry.lastIndexOf(')');
        if (open < 0 || close < open) {
            filters << entry;
            continue;
        }
        const QString label = entry.left(open);
        QStringList patterns = entry.mid(open + 1, close - open - 1).split(' ', Qt::SkipEmptyParts);
        for (const QString& pattern : QStringList(patterns))
            if (!patterns.contains(pattern.toUpper())) patterns << pattern.toUpper();
        filters << label + " (" + patterns.join(' ') + ")";
    }
    return filters;
}

std::string file_dialog(Window owner, std::string_view title, std::string_view default_name,
                        std::string_view filter, bool saving)
{
    QFileDialog dialog(owner ? &window_widget(owner) : nullptr, qt(title));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilters(name_filters(filter));
    dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (default_name.find('*') == std::string_view::npos) dialog.selectFile(qt(default_name));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return cancel_text;
    return dialog.selectedFiles().front().toStdString();
}

QWidget* main_window()
{
    const auto& windows = detail::registry().windows;
    return windows.empty() ? nullptr : windows.front();
}

// The usual pointer while a message or question is up, over a busy cursor.
class UsualPointer {
public:
    UsualPointer() : over_busy_(QGuiApplication::overrideCursor() != nullptr)
    {
        if (over_busy_) QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~UsualPointer()
    {
        if (over_busy_) QGuiApplication::restoreOverrideCursor();
    }
    UsualPointer(const UsualPointer&) = delete;
    UsualPointer& operator=(const UsualPointer&) = delete;

private:
    bool over_busy_;
};

}  // namespace

std::string win_open_dlg(Window owner, std::string_view title, std::string_view default_name,
                         std::string_view filter)
{
    return file_dialog(owner, title, default_name, filter, false);
}

std::string win_save_dlg(Window owner, std::string_view title, std::string_view default_name,
                         std::string_view filter)
{
    return file_dialog(owner, title, default_name, filter, true);
}

void message(std::string_view text)
{
    const UsualPointer pointer;
    QMessageBox::warning(main_window(), QStringLiteral("KORVEN"), qt(text));
}

bool ask(std::string_view question)
{
    const UsualPointer pointer;
    return QMessageBox::question(main_window(), QStringLiteral("KORVEN"), qt(question),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

std::optional<int> ask_number(std::string_view title, std::string_view label, int value, int lowest, int highest)
{
    const UsualPointer pointer;
    bool accepted = false;
    const int chosen = QInputDialog::getInt(main_window(), qt(title), qt(label), value, lowest, highest, 1, &accepted);
    if (!accepted) return std::nullopt;
    return chosen;
}

BusyCursor::BusyCursor(bool shown) : shown_(shown)
{
    if (!shown_) return;
    // Qt sends the change to the window system at once, so it shows while
    // the handler works without returning to the event loop.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

BusyCursor::~BusyCursor()
{
    if (shown_) QGuiApplication::restoreOverrideCursor();
}

}  // namespace fe
