// The form runtime's operations on windows, controls, dialogs, the clipboard
// and the event loop, on Qt widgets.
#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>
#include <QValidator>

#include <algorithm>
#include <memory>

#include "platform/numbers.h"
#include "platform/pixel_ops.h"
#include "platform/runtime_canvas.h"
#include "platform/runtime_internal.h"
#include "platform/testing.h"

namespace fe {

namespace detail {

Registry& registry()
{
    static Registry instance;
    return instance;
}

void deliver(Event event)
{
    if (registry().sink) registry().sink(event);
}

FormWindow& window_widget(Window window) { return *registry().windows.at(static_cast<std::size_t>(window.id)); }

const ControlRecord& control_record(Control control)
{
    return registry().controls.at(static_cast<std::size_t>(control.id));
}

void destroy_windows()
{
    Registry& r = registry();
    for (FormWindow* window : r.windows) delete window;
    r.windows.clear();
    r.controls.clear();
}

korven::KeptCanvas& canvas(Window window) { return window_widget(window).canvas(); }

void canvas_changed(Window window) { window_widget(window).update(); }

}  // namespace detail

using detail::control_record;
using detail::window_widget;

namespace {

QString qt(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

template <typename Widget>
Widget* widget_as(Control control)
{
    return qobject_cast<Widget*>(control_record(control).widget);
}

QApplication* application = nullptr;

}  // namespace

void init(int argc, char** argv)
{
    if (QApplication::instance()) return;
    // Qt keeps references to argc and argv for the whole run.
    static int kept_argc = argc;
    static char** kept_argv = argv;
    QApplication::setStyle(QStringLiteral("Fusion"));
    application = new QApplication(kept_argc, kept_argv);
    // Closing the main window ends the program, even while the picture window is shown.
    QApplication::setQuitOnLastWindowClosed(false);
}

void set_event_sink(EventSink sink) { detail::registry().sink = std::move(sink); }

void post_event(Event event)
{
    QTimer::singleShot(0, QApplication::instance(), [event = std::move(event)] { detail::deliver(event); });
}

Window create_window(const WindowLayout& layout)
{
    detail::Registry& r = detail::registry();
    auto* window = new detail::FormWindow(layout);
    const int id = static_cast<int>(r.windows.size());
    r.windows.push_back(window);
    for (const ControlLayout& control : layout.controls)
        r.controls.push_back({detail::make_control(*window, control), control.kind, control.name, id});
    return Window{id};
}

Control get_dlg_item(Window window, std::string_view name)
{
    const auto& controls = detail::registry().controls;
    for (std::size_t i = 0; i < controls.size(); ++i)
        if (controls[i].window == window.id && controls[i].name == name) return Control{static_cast<int>(i)};
    return Control{};
}

void show_window(Window window)
{
    detail::FormWindow& widget = window_widget(window);
    widget.show();
    widget.raise();
}

void hide_window(Window window) { window_widget(window).hide(); }

bool is_window_visible(Window window) { return window_widget(window).isVisible(); }

void close_window(Window window) { window_widget(window).close(); }

void enable_window(Control control, bool enabled) { control_record(control).widget->setEnabled(enabled); }

bool is_window_enabled(Control control) { return control_record(control).widget->isEnabled(); }

void set_window_size(Window window, double width, double height)
{
    detail::FormWindow& widget = window_widget(window);
    const int client_width = std::max(1, korven::round_to_int(width) - frame_width);
    const int client_height = std::max(1, korven::round_to_int(height) - frame_height);
    // A fixed-size window stays fixed for the user, at the size the program asks for.
    if (widget.layout().resizable) widget.resize(client_width, client_height);
    else widget.setFixedSize(client_width, client_height);
    // The resize is reported at once, as handlers rely on, not when the toolkit gets to it.
    widget.report_size_change();
}

int get_width(Window window) { return window_widget(window).width() + frame_width; }

int get_height(Window window) { return window_widget(window).height() + frame_height; }

std::string get_window_text(Control control)
{
    QWidget* widget = control_record(control).widget;
    if (auto* field = qobject_cast<QLineEdit*>(widget)) return field->text().toStdString();
    if (auto* label = qobject_cast<QLabel*>(widget)) return label->text().toStdString();
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text().toStdString();
    return {};
}

void set_window_text(Control control, std::string_view text)
{
    QWidget* widget = control_record(control).widget;
    if (auto* field = qobject_cast<QLineEdit*>(widget)) {
        // The field's typing rule limits the user only: program text is never cut or refused.
        const QValidator* rule = field->validator();
        field->setValidator(nullptr);
        field->setText(qt(text));
        field->setValidator(rule);
    } else if (auto* label = qobject_cast<QLabel*>(widget)) label->setText(qt(text));
    else if (auto* button = qobject_cast<QAbstractButton*>(widget)) button->setText(qt(text));
}

// Qt reads "[*]" in a title as its marker of unsaved changes and shows
// "[*][*]" as a plain "[*]"; a caption is shown exactly as set.
std::string get_window_text(Window window)
{
    return window_widget(window).windowTitle().replace("[*][*]", "[*]").toStdString();
}

void set_window_text(Window window, std::string_view text)
{
    window_widget(window).setWindowTitle(qt(text).replace("[*]", "[*][*]"));
}

int get_check(Control control)
{
    auto* button = widget_as<QAbstractButton>(control);
    return button && button->isChecked() ? 1 : 0;
}

void set_check(Control control, int checked)
{
    if (auto* button = widget_as<QAbstractButton>(control)) button->setChecked(checked != 0);
}

int get_scroll_pos(Control control)
{
    auto* bar = widget_as<QScrollBar>(control);
    return bar ? bar->value() : 0;
}

void set_scroll_pos(Control control, int position)
{
    if (auto* bar = widget_as<QScrollBar>(control)) {
        const QSignalBlocker quiet(bar);
        bar->setValue(position);
    }
}

void set_scroll_range(Control control, int minimum, int maximum)
{
    if (auto* bar = widget_as<QScrollBar>(control)) {
        const QSignalBlocker quiet(bar);
        bar->setRange(minimum, maximum);
    }
}

void set_font_name(Control control, std::string_view family)
{
    QWidget* widget = control_record(control).widget;
    QFont font = widget->font();
    font.setFamily(qt(family));
    widget->setFont(font);
}

std::string enum_font_names(Window, std::string_view previous)
{
    const QStringList families = QFontDatabase::families();
    if (previous.empty()) return families.isEmpty() ? std::string() : families.front().toStdString();
    const qsizetype at = families.indexOf(qt(previous));
    if (at < 0 || at + 1 >= families.size()) return {};
    return families.at(at + 1).toStdString();
}

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
    testing::Script& script = testing::script();
    if (script.active) {
        script.dialog_titles.emplace_back(title);
        if (script.dialog_answers.empty()) return cancel_text;
        std::string answer = std::move(script.dialog_answers.front());
        script.dialog_answers.pop_front();
        return answer;
    }
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
                         std::string_view filter, int)
{
    return file_dialog(owner, title, default_name, filter, false);
}

std::string win_save_dlg(Window owner, std::string_view title, std::string_view default_name,
                         std::string_view filter, int)
{
    return file_dialog(owner, title, default_name, filter, true);
}

void message(std::string_view text)
{
    testing::Script& script = testing::script();
    if (script.active) {
        script.messages.emplace_back(text);
        return;
    }
    const UsualPointer pointer;
    QMessageBox::warning(main_window(), QStringLiteral("KORVEN"), qt(text));
}

bool ask(std::string_view question)
{
    testing::Script& script = testing::script();
    if (script.active) {
        script.messages.emplace_back(question);
        if (script.question_answers.empty()) return false;
        const bool answer = script.question_answers.front();
        script.question_answers.pop_front();
        return answer;
    }
    const UsualPointer pointer;
    return QMessageBox::question(main_window(), QStringLiteral("KORVEN"), qt(question),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

BusyCursor::BusyCursor(bool shown) : shown_(shown)
{
    if (!shown_) return;
    // Qt sends the change to the window system at once, so it shows while
    // the handler works without returning to the event loop.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    ++testing::script().busy_cursors_shown;
}

BusyCursor::~BusyCursor()
{
    if (shown_) QGuiApplication::restoreOverrideCursor();
}

int wait_event() { return QApplication::exec(); }

// Copying onto a window draws into its kept canvas and shows it again.
void stretch_blt(Window target, double x, double y, double width, double height, const Bitmap& source,
                 double source_x, double source_y, double source_width, double source_height)
{
    detail::canvas(target).stretch(x, y, width, height, source.view(), source_x, source_y, source_width,
                                   source_height);
    detail::canvas_changed(target);
}

void draw_bitmap(Window target, double x, double y, const Bitmap& source)
{
    detail::canvas(target).copy(korven::pixel_coordinate(x), korven::pixel_coordinate(y), source.width(),
                                source.height(), source.view(), 0, 0);
    detail::canvas_changed(target);
}

}  // namespace fe

namespace fb {

int get_drop_file_count(const fe::Event& drop) { return static_cast<int>(drop.files.size()); }

std::string get_drop_file_name(const fe::Event& drop, int index)
{
    if (index < 0 || index >= get_drop_file_count(drop)) return {};
    return drop.files[static_cast<std::size_t>(index)];
}

void set_cb_text(std::string_view text)
{
    QGuiApplication::clipboard()->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

}  // namespace fb
