#include "ui/MyMessage/message_kinds.h"

namespace MyMessage {

QString PictureName(std::uint8_t kind)
{
    switch (kind) {
    case PictureInformation: return QStringLiteral("Informacja");
    case PictureWarning: return QStringLiteral("Ostrzeżenie");
    case PictureQuestion: return QStringLiteral("Pytanie");
    case PictureError: return QStringLiteral("Błąd");
    default: return {};
    }
}

const std::array<QString, ButtonKindCount>& ButtonCaptions()
{
    // "Przerwij" carries no accelerator mark, unlike the design caption of cmdBtn3.
    static const std::array<QString, ButtonKindCount> captions = {
        QStringLiteral("&Ok"),      QStringLiteral("&Anuluj"),   QStringLiteral("&Pomoc"),   QStringLiteral("&Tak"),
        QStringLiteral("&Nie"),     QStringLiteral("&Zamknij"),  QStringLiteral("Przerwij"), QStringLiteral("P&onów"),
        QStringLiteral("&Ignoruj"), QStringLiteral("&Wszystko"),
    };
    return captions;
}

std::optional<int> ButtonResult(std::uint8_t kind)
{
    // Pomoc and Zamknij set 0, which keeps the window open.
    static constexpr std::array<int, ButtonKindCount> results = {
        ResultOk,   ResultCancel, ResultNone,  ResultYes,    ResultNo,
        ResultNone, ResultAbort,  ResultRetry, ResultIgnore, ResultAll,
    };
    if (kind >= ButtonKindCount) return std::nullopt;
    return results[kind];
}

}  // namespace MyMessage
