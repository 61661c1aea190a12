// The widgets behind the layouts: windows that report their events and keep
// their drawing, and controls wired to NAME_ON / NAME_CHANGE.
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QUrl>
#include <QValidator>
#include <QWindow>

#include <algorithm>

#include "core/pixel_ops.h"
#include "platform/runtime_internal.h"

namespace fe::detail {

namespace {

Qt::WindowFlags window_flags(const WindowLayout& layout)
{
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (layout.closable)
        flags |= Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;
    if (layout.resizable && layout.closable) flags |= Qt::WindowMaximizeButtonHint;
    return flags;
}

korven::Colour to_colour(const QColor& c) { return korven::rgb(c.red(), c.green(), c.blue()); }

// The outer rectangle moved only as far as needed to lie fully on the screen.
QPoint on_screen(const WindowLayout& layout)
{
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return {layout.x, layout.y};
    const QRect area = screen->availableGeometry();
    const int x = std::max(area.left(), std::min(layout.x, area.left() + area.width() - layout.width));
    const int y = std::max(area.top(), std::min(layout.y, area.top() + area.height() - layout.height));
    return {x, y};
}

std::vector<std::string> local_files(const QMimeData* mime)
{
    std::vector<std::string> files;
    if (!mime || !mime->hasUrls()) return files;
    for (const QUrl& url : mime->urls())
        if (url.isLocalFile()) files.push_back(url.toLocalFile().toStdString());
    return files;
}

// What the user may type into a field: at most `max_length` characters (0: no
// limit) and, where asked, digits only. Text the program sets passes around
// it (fe::set_window_text) and may break both rules; the user may then still
// shorten it, but not lengthen it past the limit or add other characters.
class TypingRule final : public QValidator {
public:
    TypingRule(QLineEdit* field, int max_length, bool digits_only)
        : QValidator(field), max_length_(max_length), digits_only_(digits_only), held_(field->text())
    {
        // Connected before the field's _CHANGE, so a handler's own text is held last.
        connect(field, &QLineEdit::textChanged, this, [this](const QString& text) { held_ = text; });
    }

    State validate(QString& input, int&) const override
    {
        const bool too_long =
            max_length_ > 0 && input.size() > max_length_ && input.size() > held_.size();
        const bool more_non_digits = digits_only_ && non_digits(input) > non_digits(held_);
        return too_long || more_non_digits ? Invalid : Acceptable;
    }

private:
    static qsizetype non_digits(const QString& text)
    {
        return std::ranges::count_if(text, [](QChar c) { return c < u'0' || c > u'9'; });
    }

    int max_length_;
    bool digits_only_;
    QString held_;  // the field's text before the edit being checked
};

}  // namespace

FormWindow::FormWindow(const WindowLayout& layout) : QWidget(nullptr, window_flags(layout)), layout_(layout)
{
    setObjectName(QString::fromStdString(layout.name));
    setWindowTitle(QString::fromStdString(layout.caption));
    setAttribute(Qt::WA_DeleteOnClose, false);
    const QSize client(std::max(1, layout.width - frame_width), std::max(1, layout.height - frame_height));
    resize(client);
    if (!layout.resizable) setFixedSize(client);
    move(on_screen(layout));
    setAcceptDrops(layout.accepts_drops);
    canvas_.set_background(to_colour(palette().color(QPalette::Window)));
    if (layout.keeps_drawing) {
        setMouseTracking(true);
        setAttribute(Qt::WA_OpaquePaintEvent);
        QScreen* screen = QGuiApplication::primaryScreen();
        const QSize screen_size = screen ? screen->virtualSize() : QSize(1024, 768);
        canvas_.grow(std::max(screen_size.width(), client.width()),
                     std::max(screen_size.height(), client.height()));
    }
    reported_size_ = client;
}

void FormWindow::report_size_change()
{
    if (size() == reported_size_) return;
    reported_size_ = size();
    if (layout_.keeps_drawing) canvas_.grow(width(), height());
    deliver({layout_.name + "_RESIZE"});
}

void FormWindow::paintEvent(QPaintEvent* event)
{
    if (!layout_.keeps_drawing) {
        QWidget::paintEvent(event);
        return;
    }
    // Our colour values are bytes R, G, B, 0 in memory: the RGBX8888 layout.
    const korven::Picture& drawn = canvas_.pixels();
    const QImage kept(reinterpret_cast<const uchar*>(drawn.pixels().data()), drawn.width(), drawn.height(),
                      drawn.width() * 4, QImage::Format_RGBX8888);
    QPainter painter(this);
    const QRect area = event->rect();
    painter.drawImage(area.topLeft(), kept, area);
}

void FormWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    report_size_change();
}

bool FormWindow::event(QEvent* event)
{
    // The platform window is made on the first show; watch its pointer events.
    if (event->type() == QEvent::WinIdChange && windowHandle()) windowHandle()->installEventFilter(this);
    return QWidget::event(event);
}

bool FormWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == windowHandle()) {
        switch (event->type()) {
        case QEvent::MouseMove:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
            report_pointer(*static_cast<QMouseEvent*>(event));
            break;
        default:
            break;
        }
    }
    return false;  // the control under the pointer still gets the event
}

// Moves (on a window that tracks the mouse) and left clicks, in client
// coordinates; a click is reported on release inside the window.
void FormWindow::report_pointer(const QMouseEvent& event)
{
    const QPoint at = event.position().toPoint();
    switch (event.type()) {
    case QEvent::MouseMove:
        if (hasMouseTracking()) deliver({layout_.name + "_MOUSEMOVE", at.x(), at.y()});
        break;
    case QEvent::MouseButtonPress:
        if (event.button() == Qt::LeftButton) left_pressed_ = true;
        break;
    case QEvent::MouseButtonRelease:
        if (event.button() != Qt::LeftButton || !left_pressed_) break;
        left_pressed_ = false;
        if (rect().contains(at)) deliver({layout_.name + "_CLICK", at.x(), at.y()});
        break;
    default:
        break;
    }
}

void FormWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (!local_files(event->mimeData()).empty()) event->acceptProposedAction();
}

void FormWindow::dropEvent(QDropEvent* event)
{
    std::vector<std::string> files = local_files(event->mimeData());
    if (files.empty()) return;
    event->acceptProposedAction();
    deliver({layout_.name + "_DROPFILES", 0, 0, std::move(files)});
}

void FormWindow::closeEvent(QCloseEvent* event)
{
    // A window without a close button cannot be closed; closing any other ends the program.
    if (!layout_.closable) {
        event->ignore();
        return;
    }
    event->accept();
    QCoreApplication::exit(0);
}

QFont layout_font(const ControlLayout& layout)
{
    QFont font(QStringLiteral("Arial"));
    // The layout's size 11 is drawn 12 pixels high (and 12 as 13): readable, and
    // every caption still fits its control.
    font.setPixelSize(layout.font_size + 1);
    font.setBold(layout.font_flag);
    return font;
}

QWidget* make_control(FormWindow& window, const ControlLayout& layout)
{
    const QString text = QString::fromStdString(layout.text);
    const std::string on = layout.name + "_ON";
    const std::string change = layout.name + "_CHANGE";
    QWidget* widget = nullptr;
    switch (layout.kind) {
    case ControlKind::PushButton: {
        auto* button = new QPushButton(text, &window);
        button->setAutoDefault(false);
        QObject::connect(button, &QPushButton::clicked, [on] { deliver({on}); });
        widget = button;
        break;
    }
    case ControlKind::CheckBox: {
        auto* box = new QCheckBox(text, &window);
        box->setChecked(layout.checked);
        QObject::connect(box, &QCheckBox::clicked, [on] { deliver({on}); });
        widget = box;
        break;
    }
    case ControlKind::RadioButton: {
        auto* radio = new QRadioButton(text, &window);
        radio->setChecked(layout.checked);
        QObject::connect(radio, &QRadioButton::clicked, [on] { deliver({on}); });
        widget = radio;
        break;
    }
    case ControlKind::TextField: {
        auto* field = new QLineEdit(text, &window);
        if (layout.max_length > 0 || layout.digits_only)
            field->setValidator(new TypingRule(field, layout.max_length, layout.digits_only));
        field->setAcceptDrops(false);  // a dropped file goes to the window, not into a field
        QObject::connect(field, &QLineEdit::textChanged, [change] { deliver({change}); });
        widget = field;
        break;
    }
    case ControlKind::Label:
        widget = new QLabel(text, &window);
        break;
    case ControlKind::HScrollBar:
    case ControlKind::VScrollBar: {
        auto* bar = new QScrollBar(
            layout.kind == ControlKind::HScrollBar ? Qt::Horizontal : Qt::Vertical, &window);
        bar->setRange(layout.minimum, layout.maximum);
        bar->setSingleStep(layout.small_step);
        bar->setPageStep(layout.large_step);
        QObject::connect(bar, &QScrollBar::valueChanged, [change] { deliver({change}); });
        widget = bar;
        break;
    }
    }
    widget->setObjectName(QString::fromStdString(layout.name));
    widget->setFont(layout_font(layout));
    widget->setGeometry(layout.x, layout.y, layout.width, layout.height);
    return widget;
}

}  // namespace fe::detail
