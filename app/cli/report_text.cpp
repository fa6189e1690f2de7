#include "app/cli/report_text.h"

#include <cstdio>

namespace cli {

using patch::CatalogueState;
using patch::FileOutcome;

const char* const kLineBreakNameText =
    "pominięta: nazwa pliku zawiera znak końca wiersza, a takiej nazwy program nie obsługuje; zmień nazwę "
    "pliku";

const char* OutcomeText(FileOutcome outcome)
{
    switch (outcome) {
    case FileOutcome::NotCatalogue: return "pominięta: brak tabeli FILMY";
    case FileOutcome::LacksEarlierPatch: return "pominięta: brak wcześniejszego patcha";
    case FileOutcome::AlreadyUpgraded: return "już uaktualniona";
    case FileOutcome::Upgraded: return "uaktualniona";
    case FileOutcome::UpgradedWithoutLoans: return "tabela FILMY uaktualniona, brak tabeli WYPOZYCZ";
    case FileOutcome::UpgradedNotCompacted: return "uaktualniona, ale nieskompaktowana";
    case FileOutcome::ConversionError: return "błąd konwersji, baza pozostała bez zmian";
    case FileOutcome::Failed: return "nie udało się otworzyć lub zapisać bazy, pozostała bez zmian";
    }
    return "";
}

std::string MovedOutcomeText(FileOutcome outcome, const std::string& keptName)
{
    const std::string kept = "; oryginał w formacie Access zachowany jako " + keptName;
    switch (outcome) {
    case FileOutcome::Upgraded: return "przeniesiona z formatu Access i uaktualniona" + kept;
    case FileOutcome::AlreadyUpgraded: return "przeniesiona z formatu Access; była już uaktualniona" + kept;
    default: return std::string("przeniesiona z formatu Access, ") + OutcomeText(outcome) + kept;
    }
}

const char* StateText(CatalogueState state)
{
    switch (state) {
    case CatalogueState::CannotOpen: return "nie daje się otworzyć";
    case CatalogueState::NotCatalogue: return "nie jest katalogiem (brak tabeli FILMY)";
    case CatalogueState::LacksEarlierPatch: return "brak wcześniejszego patcha";
    case CatalogueState::NeedsUpgrade: return "wymaga uaktualnienia";
    case CatalogueState::NeedsUpgradeWithoutLoans:
        return "wymaga uaktualnienia, ale brak tabeli WYPOZYCZ: zostanie uaktualniona tylko tabela FILMY";
    case CatalogueState::CannotUpgrade: return "wymaga uaktualnienia, którego nie da się wykonać";
    case CatalogueState::AlreadyUpgraded: return "już uaktualniona";
    case CatalogueState::FilmsTableDamaged: return "tabela FILMY nie daje się uaktualnić";
    }
    return "";
}

bool IsProblem(FileOutcome outcome)
{
    return outcome != FileOutcome::Upgraded && outcome != FileOutcome::AlreadyUpgraded &&
           outcome != FileOutcome::NotCatalogue;
}

bool IsProblem(CatalogueState state)
{
    return state != CatalogueState::NeedsUpgrade && state != CatalogueState::AlreadyUpgraded &&
           state != CatalogueState::NotCatalogue;
}

std::string PrintableName(const std::string& name)
{
    std::string shown;
    for (const char c : name) {
        if (c == '\n') {
            shown += "\\n";
        } else if (c == '\r') {
            shown += "\\r";
        } else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            char code[5];
            std::snprintf(code, sizeof code, "\\x%02X", static_cast<unsigned>(static_cast<unsigned char>(c)));
            shown += code;
        } else {
            shown += c;
        }
    }
    return shown;
}

}  // namespace cli
