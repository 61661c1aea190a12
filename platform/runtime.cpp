// The form runtime's operations on windows, controls, dialogs, the clipboard
// and the event loop, on Qt widgets.
#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>
#include <QValidator>

#include <algorithm>
#include <memory>

#include "core/numbers.h"
#include "core/pixel_ops.h"
#include "platform/runtime_canvas.h"
#include "platform/qt_text.h"
#include "platform/runtime_internal.h"

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

using detail::qt;

namespace {

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

int wait_event() { return QApplication::exec(); }

// Copying onto a window draws into its kept canvas and shows it again.
void stretch_blt(Window target, double x, double y, double width, double height, const Bitmap& source,
                 double source_x, double source_y, double source_width, double source_height,
                 const korven::ScreenConversion* conversion)
{
    detail::canvas(target).stretch(x, y, width, height, source.view(), source_x, source_y, source_width,
                                   source_height, conversion);
    detail::canvas_changed(target);
}

void draw_bitmap(Window target, double x, double y, const Bitmap& source, const korven::ScreenConversion* conversion)
{
    detail::canvas(target).copy(korven::pixel_coordinate(x), korven::pixel_coordinate(y), source.width(),
                                source.height(), source.view(), 0, 0, conversion);
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
    QGuiApplication::clipboard()->setText(fe::detail::qt(text));
}

}  // namespace fb
