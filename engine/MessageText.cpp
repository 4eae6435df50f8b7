#include "MessageText.h"

#include "TextCodec.h"

#include <cerrno>

std::string SystemErrorText(int error) {
    switch (error) {
    case ENOSPC:
        return "на диску немає вільного місця";
    case EDQUOT:
        return "вичерпано дискову квоту користувача";
    case EACCES:
    case EPERM:
        return "немає дозволу на доступ";
    case EROFS:
        return "файлова система доступна лише для читання";
    case ENOENT:
        return "файлу або папки не існує";
    case ENOTDIR:
        return "частина шляху не є папкою";
    case EISDIR:
        return "це папка, а не файл";
    case EEXIST:
        return "файл уже існує";
    case EMFILE:
    case ENFILE:
        return "відкрито забагато файлів";
    case EIO:
        return "помилка введення-виведення";
    case ENAMETOOLONG:
        return "задовге ім'я файлу";
    case ELOOP:
        return "забагато символьних посилань у шляху";
    default:
        return "системна помилка " + std::to_string(error);
    }
}

std::string QuotedText(std::string_view win1251) {
    const bool cut = win1251.size() > kQuotedLength;
    const std::string_view shown = win1251.substr(0, kQuotedLength);
    std::string visible;
    visible.reserve(shown.size());
    for (const char c : shown) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == 0) {
            visible += "\\0";
        } else if (byte < 0x20 || byte == 0x7F || byte == 0x98) { // 0x98 decodes to a C1 control
            static const char kDigits[] = "0123456789ABCDEF";
            visible += "\\x";
            visible += kDigits[byte >> 4];
            visible += kDigits[byte & 0x0F];
        } else {
            visible += c;
        }
    }
    return "«" + Win1251ToUtf8(visible) + (cut ? "…»" : "»");
}
