#include "core/base/ProfileStore.h"

#include <QSettings>
#include <QString>
#include <memory>

namespace {

std::string g_file;

std::unique_ptr<QSettings> OpenStore() {
    if (!g_file.empty())
        return std::make_unique<QSettings>(QString::fromStdString(g_file), QSettings::IniFormat);
    return std::make_unique<QSettings>(QStringLiteral("Orlanek"), QStringLiteral("Orlanek Robot System"));
}

QString KeyOf(const std::string& section, const std::string& key) {
    return QString::fromStdString(section) + QLatin1Char('/') + QString::fromStdString(key);
}

} // namespace

int GetProfileInt(const std::string& section, const std::string& key, int defaultValue) {
    bool ok = false;
    const int value = OpenStore()->value(KeyOf(section, key)).toInt(&ok);
    return ok ? value : defaultValue;
}

void WriteProfileInt(const std::string& section, const std::string& key, int value) {
    OpenStore()->setValue(KeyOf(section, key), value);
}

std::string GetProfileString(const std::string& section, const std::string& key,
                             const std::string& defaultValue) {
    const QVariant value = OpenStore()->value(KeyOf(section, key));
    return value.isValid() ? value.toString().toStdString() : defaultValue;
}

void WriteProfileString(const std::string& section, const std::string& key, const std::string& value) {
    OpenStore()->setValue(KeyOf(section, key), QString::fromStdString(value));
}

void UseProfileFile(const std::string& path) {
    g_file = path;
}
