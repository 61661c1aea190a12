// The test hook: user actions delivered through Qt's own events, and read-back
// of what the windows show.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QImage>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QUrl>
#include <QWindow>
#include <QtTest/qtestkeyboard.h>
#include <QtTest/qtestmouse.h>
#include <QtWidgets/qtestsupport_widgets.h>

#include <utility>

#include "platform/qt_text.h"
#include "platform/runtime_internal.h"
#include "platform/testing.h"

namespace fe::testing {

using detail::control_record;
using detail::window_widget;

namespace {

void send_key(QWidget* widget, int key, const QString& text, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QCoreApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QCoreApplication::sendEvent(widget, &release);
}

// Hands a pointer event to Qt the way the window system does, at a point of
// the window's client area; Qt then routes it to the control under the point.
// This is the entry QTest's own mouse functions use, called directly so that
// (0, 0) stays (0, 0) and points outside the window raise no warning.
void send_pointer(Window window, QEvent::Type type, int x, int y, Qt::MouseButtons held, Qt::MouseButton button)
{
    QWidget& widget = window_widget(window);
    widget.winId();  // a hidden window gets its platform window too
    QWindow* handle = widget.windowHandle();
    static int timestamp = 0;
    timestamp += 1000;  // far enough apart that no two clicks make a double click
    const QPointF local(x, y);
    qt_handleMouseEvent(handle, local, handle->mapToGlobal(local), held, button, type, Qt::NoModifier, timestamp);
    QCoreApplication::processEvents();
}

}  // namespace

void click(Control control)
{
    if (auto* button = qobject_cast<QAbstractButton*>(control_record(control).widget)) button->click();
}

void type_text(Control control, std::string_view text)
{
    auto* field = qobject_cast<QLineEdit*>(control_record(control).widget);
    if (!field || !field->isEnabled()) return;
    field->end(false);
    for (const QChar c : detail::qt(text)) {
        if (c == u'\b') send_key(field, Qt::Key_Backspace, QString());
        else send_key(field, c.isDigit() ? Qt::Key_0 + c.digitValue() : Qt::Key_unknown, QString(c));
    }
}

void clear_text(Control control)
{
    auto* field = qobject_cast<QLineEdit*>(control_record(control).widget);
    if (!field || !field->isEnabled()) return;
    field->selectAll();
    send_key(field, Qt::Key_Backspace, QString());
}

void move_slider(Control control, int position)
{
    auto* bar = qobject_cast<QScrollBar*>(control_record(control).widget);
    if (!bar || !bar->isEnabled()) return;
    bar->setSliderPosition(position);
}

void drop_files(Window window, const std::vector<std::string>& paths)
{
    QMimeData mime;
    QList<QUrl> urls;
    for (const std::string& path : paths) urls << QUrl::fromLocalFile(QString::fromStdString(path));
    mime.setUrls(urls);
    QWidget& widget = window_widget(window);
    const QPointF centre(widget.width() / 2.0, widget.height() / 2.0);
    QDragEnterEvent enter(centre.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &enter);
    if (!enter.isAccepted()) return;  // the window refuses this drag
    QDropEvent drop(centre, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &drop);
}

void click_at(Window window, int x, int y)
{
    send_pointer(window, QEvent::MouseButtonPress, x, y, Qt::LeftButton, Qt::LeftButton);
    send_pointer(window, QEvent::MouseButtonRelease, x, y, Qt::NoButton, Qt::LeftButton);
}

void move_mouse(Window window, int x, int y)
{
    send_pointer(window, QEvent::MouseMove, x, y, Qt::NoButton, Qt::NoButton);
}

void resize_by_user(Window window, int outer_width, int outer_height)
{
    detail::FormWindow& widget = window_widget(window);
    widget.resize(outer_width - frame_width, outer_height - frame_height);
    widget.report_size_change();
}

void close_by_user(Window window) { window_widget(window).close(); }

namespace {

void activate(QWidget& window)
{
    window.activateWindow();
    QApplication::setActiveWindow(&window);
    QCoreApplication::processEvents();
}

}  // namespace

void press_keys(Window window, std::string_view keys)
{
    QWidget& widget = window_widget(window);
    activate(widget);
    QWidget* target = widget.focusWidget() ? widget.focusWidget() : &widget;
    QTest::keySequence(target, QKeySequence(QString::fromUtf8(keys.data(), static_cast<qsizetype>(keys.size()))));
    QCoreApplication::processEvents();
}

void focus(Control control)
{
    QWidget* widget = control_record(control).widget;
    activate(*widget->window());
    widget->setFocus(Qt::OtherFocusReason);
}

void post(std::function<void()> action) { QTimer::singleShot(0, QCoreApplication::instance(), std::move(action)); }

void process_events()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

Rect geometry(Control control)
{
    const QRect r = control_record(control).widget->geometry();
    return {r.x(), r.y(), r.width(), r.height()};
}

std::string shown_caption(Window window)
{
    // A window never shown has no title on screen yet; its title as set stands in.
    const QWindow* shown = window_widget(window).windowHandle();
    return shown ? shown->title().toStdString() : get_window_text(window);
}

Rect window_geometry(Window window)
{
    const QWidget& widget = window_widget(window);
    return {widget.x(), widget.y(), widget.width() + frame_width, widget.height() + frame_height};
}

bool is_resizable(Window window)
{
    const QWidget& widget = window_widget(window);
    return widget.minimumSize() != widget.maximumSize();
}

bool has_close_button(Window window)
{
    return window_widget(window).windowFlags().testFlag(Qt::WindowCloseButtonHint);
}

bool accepts_drops(Window window) { return window_widget(window).acceptDrops(); }

bool caption_fits(Control control)
{
    QWidget* widget = control_record(control).widget;
    const QFontMetrics metrics(widget->font());
    QString text;
    int room = widget->width();
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        text = label->text();
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        text = button->text();
        if (qobject_cast<QCheckBox*>(widget) || qobject_cast<QRadioButton*>(widget)) {
            const bool radio = qobject_cast<QRadioButton*>(widget) != nullptr;
            QStyle* style = widget->style();
            room -= style->pixelMetric(radio ? QStyle::PM_ExclusiveIndicatorWidth : QStyle::PM_IndicatorWidth,
                                       nullptr, widget) +
                    style->pixelMetric(radio ? QStyle::PM_RadioButtonLabelSpacing
                                             : QStyle::PM_CheckBoxLabelSpacing,
                                       nullptr, widget);
        } else {
            room -= 6;  // the button's frame and a little air on each side
        }
    } else {
        return true;
    }
    return metrics.horizontalAdvance(text) <= room && metrics.height() <= widget->height();
}

bool is_radio_checked(Control control)
{
    auto* radio = qobject_cast<QRadioButton*>(control_record(control).widget);
    return radio && radio->isChecked();
}

int slider_maximum(Control control)
{
    auto* bar = qobject_cast<QScrollBar*>(control_record(control).widget);
    return bar ? bar->maximum() : 0;
}

int slider_minimum(Control control)
{
    auto* bar = qobject_cast<QScrollBar*>(control_record(control).widget);
    return bar ? bar->minimum() : 0;
}

Colour canvas_pixel(Window window, int x, int y)
{
    const korven::Picture& canvas = window_widget(window).canvas().pixels();
    if (x < 0 || y < 0 || x >= canvas.width() || y >= canvas.height()) return 0;
    return canvas.at(x, y);
}

korven::Picture screen_shot(Window window)
{
    QWidget& widget = window_widget(window);
    if (!QTest::qWaitForWindowExposed(&widget)) return {};  // nothing shown: an empty picture
    widget.repaint();  // at once, and before the grab
    QCoreApplication::processEvents();
    const QImage shot = widget.screen()->grabWindow(widget.winId()).toImage().convertToFormat(QImage::Format_RGB32);
    korven::Picture picture(shot.width(), shot.height());
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            const QRgb pixel = shot.pixel(x, y);
            picture.at(x, y) = korven::rgb(qRed(pixel), qGreen(pixel), qBlue(pixel));
        }
    return picture;
}

std::string clipboard_text() { return QGuiApplication::clipboard()->text().toStdString(); }

bool read_png(const std::string& path, Bitmap& picture)
{
    const QImage image = QImageReader(QString::fromStdString(path), "png").read();
    if (image.isNull()) return false;
    Bitmap read(image.width(), image.height());
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            read.at(x, y) = korven::rgb(qRed(pixel), qGreen(pixel), qBlue(pixel));
        }
    picture = std::move(read);
    return true;
}

std::string font_family(Control control) { return control_record(control).widget->font().family().toStdString(); }

void destroy_windows() { detail::destroy_windows(); }

}  // namespace fe::testing
