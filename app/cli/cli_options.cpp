#include "app/cli/cli_options.h"

namespace cli {

const char* const kUsage =
    "Użycie: vidarkon-patch-cli [opcje] [folder]\n"
    "\n"
    "Uaktualnia każdą bazę *.mdb programu Vidarkon w folderze (domyślnie: bieżący):\n"
    "przebudowuje tabelę FILMY do nowej struktury, dodaje pole ID_CD do tabeli\n"
    "WYPOZYCZ, kompaktuje plik. Zmiany w pliku są zapisywane w całości albo wcale.\n"
    "\n"
    "Opcje:\n"
    "  --nie-zachowuj-id-cd  nowe pola ID_CD zaczynają od 0 (w oknie: odznaczone\n"
    "                        \"Zachowaj zawartość pola ID_CD\"); domyślnie zachowuje\n"
    "  --check               tylko sprawdza każdą bazę i niczego nie zmienia: której\n"
    "                        wcześniejszej poprawki brak, czy wymaga uaktualnienia,\n"
    "                        czy jest już uaktualniona, czy to nie jest katalog,\n"
    "                        czy nie daje się otworzyć i dlaczego\n"
    "  -h, --help            ten opis\n"
    "\n"
    "Na terminalu pokazuje pasek postępu, w innym wypadku zwykłe wiersze. Przy bazie,\n"
    "której nie udało się uaktualnić, podaje przyczynę.\n"
    "\n"
    "Kod wyjścia:\n"
    "  0  każda baza katalogu uaktualniona lub już uaktualniona (przy --check:\n"
    "     każda daje się uaktualnić lub jest już uaktualniona); bazy bez tabeli\n"
    "     FILMY nie są katalogami i zostają pominięte\n"
    "  1  brak baz albo któraś baza zgłoszona lub nieudana; tak liczy się też\n"
    "     baza bez tabeli WYPOZYCZ (przy --check i przy uaktualnianiu): jej tabela\n"
    "     FILMY zostaje uaktualniona, ale plik nie jest kompaktowany\n"
    "  2  błędne użycie, także folder, który nie istnieje, nie jest folderem\n"
    "     albo nie daje się odczytać\n";

std::optional<CliOptions> ParseOptions(const std::vector<std::string>& args, std::string& error)
{
    CliOptions options;
    bool folderGiven = false;
    for (const auto& arg : args) {
        if (arg == "--nie-zachowuj-id-cd") {
            options.keepIdCd = false;
        } else if (arg == "--check") {
            options.checkOnly = true;
        } else if (arg == "-h" || arg == "--help") {
            options.help = true;
        } else if (!arg.empty() && arg[0] == '-') {
            error = "Nieznana opcja: " + arg;
            return std::nullopt;
        } else if (folderGiven) {
            error = "Podano więcej niż jeden folder.";
            return std::nullopt;
        } else {
            options.folder = arg;
            folderGiven = true;
        }
    }
    if (options.folder.empty()) options.folder = ".";
    options.folderArgument = options.folder;
    if (options.folder.back() != '/') options.folder += '/';
    return options;
}

}  // namespace cli
