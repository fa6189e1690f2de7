#include "app/cli/cli_options.h"

namespace cli {

const char* const kUsage =
    "Użycie: vidarkon-patch-cli [opcje] [folder]\n"
    "        vidarkon-patch-cli --przenies-z-access PLIK_ACCESS NOWY_PLIK\n"
    "\n"
    "Uaktualnia każdą bazę *.mdb programu Vidarkon w folderze (domyślnie: bieżący):\n"
    "przebudowuje tabelę FILMY do nowej struktury, dodaje pole ID_CD do tabeli\n"
    "WYPOZYCZ, kompaktuje plik. Zmiany w pliku są zapisywane w całości albo wcale.\n"
    "Bazę w formacie Access przenosi do formatu tego programu i uaktualnia w jednym\n"
    "kroku, a oryginał zachowuje obok jako NAZWA.mdb.oryginal-access; aby wrócić,\n"
    "wystarczy nadać mu z powrotem dawną nazwę.\n"
    "\n"
    "Opcje:\n"
    "  --nie-zachowuj-id-cd  nowe pola ID_CD zaczynają od 0 (w oknie: odznaczone\n"
    "                        \"Zachowaj zawartość pola ID_CD\"); domyślnie zachowuje\n"
    "  --check               tylko sprawdza każdą bazę i niczego nie zmienia: której\n"
    "                        wcześniejszej poprawki brak, czy wymaga uaktualnienia,\n"
    "                        czy jest już uaktualniona, czy to nie jest katalog,\n"
    "                        czy nie daje się otworzyć i dlaczego\n"
    "  --przenies-z-access PLIK_ACCESS NOWY_PLIK\n"
    "                        przenosi plik bazy Access (Jet 4, *.mdb) w całości:\n"
    "                        każdą tabelę, wiersz, właściwość pola i indeks, do\n"
    "                        nowego pliku w formacie tego programu; NOWY_PLIK nie\n"
    "                        może istnieć, plik Access zostaje nietknięty\n"
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
    "     albo nie daje się odczytać\n"
    "Przy --przenies-z-access: 0 plik przeniesiony, 1 nieprzeniesiony (z przyczyną),\n"
    "2 błędne użycie.\n";

std::optional<CliOptions> ParseOptions(const std::vector<std::string>& args, std::string& error)
{
    CliOptions options;
    bool folderGiven = false;
    bool otherOptions = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const auto& arg = args[i];
        if (arg == "--przenies-z-access") {
            if (options.fromAccess()) {
                error = "Opcję --przenies-z-access podano więcej niż raz.";
                return std::nullopt;
            }
            if (i + 2 >= args.size()) {
                error = "Po --przenies-z-access podaj plik Access i nazwę nowego pliku.";
                return std::nullopt;
            }
            options.accessFile = args[i + 1];
            options.newFile = args[i + 2];
            if (options.accessFile.empty() || options.newFile.empty()) {
                error = "Po --przenies-z-access podaj plik Access i nazwę nowego pliku.";
                return std::nullopt;
            }
            i += 2;
            continue;
        }
        if (arg != "-h" && arg != "--help") otherOptions = true;
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
    if (options.fromAccess() && otherOptions) {
        error = "Opcji --przenies-z-access nie łączy się z folderem ani z innymi opcjami.";
        return std::nullopt;
    }
    if (options.folder.empty()) options.folder = ".";
    options.folderArgument = options.folder;
    if (options.folder.back() != '/') options.folder += '/';
    return options;
}

}  // namespace cli
