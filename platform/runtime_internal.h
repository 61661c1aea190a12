#pragma once
// Inside the runtime: the Qt widgets behind windows and controls, and the
// registry that turns handles into widgets. Only platform/ includes this.

#include <QWidget>

#include <string>
#include <vector>

#include "platform/form.h"
#include "platform/kept_canvas.h"

namespace fe::detail {

// A top-level window made from a layout. It reports its own events
// (click, mouse move, resize, dropped files, close) to the event sink and,
// when the layout asks for it, keeps everything drawn on it in a canvas.
// Pointer events are watched where the window system hands them to the
// window, before Qt routes them to the control under the pointer, so moves
// and clicks over child controls (the picture window's scroll bars) count too.
class FormWindow : public QWidget {
public:
    explicit FormWindow(const WindowLayout& layout);

    const WindowLayout& layout() const { return layout_; }
    korven::KeptCanvas& canvas() { return canvas_; }
    // Raises NAME_RESIZE when the client size differs from the last one reported.
    void report_size_change();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void report_pointer(const QMouseEvent& event);

    WindowLayout layout_;
    korven::KeptCanvas canvas_;
    QSize reported_size_;
    bool left_pressed_ = false;
};

struct ControlRecord {
    QWidget* widget = nullptr;
    ControlKind kind = ControlKind::Label;
    std::string name;
    int window = -1;
};

struct Registry {
    EventSink sink;
    std::vector<FormWindow*> windows;  // owned; deleted by destroy_windows
    std::vector<ControlRecord> controls;
};

Registry& registry();
void deliver(Event event);
FormWindow& window_widget(Window window);
const ControlRecord& control_record(Control control);
// Makes the widget for one control of a layout and wires its events.
QWidget* make_control(FormWindow& window, const ControlLayout& layout);
QFont layout_font(const ControlLayout& layout);
void destroy_windows();

}  // namespace fe::detail
