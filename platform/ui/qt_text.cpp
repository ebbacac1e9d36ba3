// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/qt_text.h"

#include <QFile>

namespace varnel {

QString to_qstring(std::string_view text, const Codec& codec) {
    if (is_ascii(text))
        return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    const std::string utf8 = codec.to_utf8_lossy(text);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string from_qstring(const QString& text, const Codec& codec) {
    const QByteArray utf8 = text.toUtf8();
    const std::string_view bytes(utf8.constData(), static_cast<std::size_t>(utf8.size()));
    if (is_ascii(bytes)) return std::string(bytes);
    return codec.from_utf8(bytes).value_or(std::string());
}

QString path_to_qstring(const std::string& fs_path) {
    return QFile::decodeName(QByteArray(fs_path.data(), static_cast<qsizetype>(fs_path.size())));
}

std::string path_from_qstring(const QString& path) {
    const QByteArray bytes = QFile::encodeName(path);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace varnel
