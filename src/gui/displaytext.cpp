#include "gui/displaytext.h"

#include "platform/textencoding.h"

namespace zob {

namespace {

QString fromCp1252(std::string_view bytes) {
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (const char byte : bytes) {
        text.append(
            QChar(static_cast<char16_t>(windows1252CodePoint(static_cast<unsigned char>(byte)))));
    }
    return text;
}

} // namespace

QString toDisplay(std::string_view bytes) {
    if (isValidUtf8(bytes)) {
        return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    }
    return fromCp1252(bytes);
}

std::string fromDisplay(const QString& text) {
    return text.toUtf8().toStdString();
}

QString displayLineBreaks(std::string_view text) {
    QString shown = toDisplay(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QChar(u'\r'), QChar(u'\n'));
    return shown;
}

} // namespace zob
