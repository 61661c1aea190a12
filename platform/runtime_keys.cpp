// Keys bound to handler names, on Qt's window shortcuts.
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QShortcut>

#include "platform/runtime_internal.h"

namespace fe {

namespace {

// A field claims its editing keys before a window's shortcuts see them. Undo
// and redo it claims only while it has typing to undo or redo, so that past
// its own steps they reach the window.
class FieldUndoFirst final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* field = qobject_cast<QLineEdit*>(watched);
        if (!field || event->type() != QEvent::ShortcutOverride) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool nothing_to_undo = key->matches(QKeySequence::Undo) && !field->isUndoAvailable();
        const bool nothing_to_redo = key->matches(QKeySequence::Redo) && !field->isRedoAvailable();
        // Taken here without being accepted: the field stays out and the shortcut runs.
        return nothing_to_undo || nothing_to_redo;
    }
};

}  // namespace

void bind_key(Window window, std::string_view keys, std::string_view handler)
{
    detail::FormWindow& widget = detail::window_widget(window);
    const QString filter_name = QStringLiteral("field undo first");
    if (!widget.findChild<QObject*>(filter_name, Qt::FindDirectChildrenOnly)) {
        auto* filter = new FieldUndoFirst(&widget);
        filter->setObjectName(filter_name);
        for (QLineEdit* field : widget.findChildren<QLineEdit*>()) field->installEventFilter(filter);
    }
    auto* shortcut = new QShortcut(QKeySequence(QString::fromUtf8(keys.data(), static_cast<qsizetype>(keys.size()))),
                                   &widget);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, [name = std::string(handler)] { detail::deliver({name}); });
}

}  // namespace fe
