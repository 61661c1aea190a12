// Settings that last across runs: one QSettings file, korven/korven.conf
// under $XDG_CONFIG_HOME (Qt's user configuration folder on this platform).
#include <QSettings>

#include "platform/form.h"
#include "platform/qt_text.h"

namespace fe {

namespace {

QSettings& settings()
{
    static QSettings file(QStringLiteral("korven"), QStringLiteral("korven"));
    return file;
}

}  // namespace

int read_setting(std::string_view key, int fallback)
{
    QSettings& file = settings();
    file.sync();  // another run may have changed it since
    if (file.status() != QSettings::NoError) return fallback;
    bool number = false;
    const int value = file.value(detail::qt(key)).toInt(&number);
    return number ? value : fallback;
}

void keep_setting(std::string_view key, int value)
{
    QSettings& file = settings();
    file.setValue(detail::qt(key), value);
    file.sync();
}

}  // namespace fe
