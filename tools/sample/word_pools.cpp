#include "tools/sample/word_pools.h"

namespace sample {

namespace {

using sv = std::string_view;

constexpr sv polishMale[] = {
    "Adam",     "Andrzej",   "Bartosz",  "Dariusz",   "Grzegorz", "Jacek",      "Jakub",    "Jan",
    "Janusz",   "Jerzy",     "Kamil",    "Krzysztof", "Łukasz",   "Maciej",     "Marcin",   "Marek",
    "Mariusz",  "Michał",    "Mirosław", "Paweł",     "Piotr",    "Rafał",      "Robert",   "Ryszard",
    "Sławomir", "Stanisław", "Szymon",   "Tadeusz",   "Tomasz",   "Wojciech",   "Zbigniew", "Zdzisław",
    "Bogusław", "Wiesław",   "Witold",   "Jędrzej",   "Mikołaj",  "Przemysław", "Wacław",   "Józef",
};
constexpr sv polishFemale[] = {
    "Agnieszka", "Aleksandra", "Alicja", "Anna",   "Barbara", "Beata",   "Danuta",   "Dorota",    "Elżbieta",
    "Ewa",       "Grażyna",    "Halina", "Iwona",  "Jadwiga", "Joanna",  "Justyna",  "Katarzyna", "Krystyna",
    "Magdalena", "Małgorzata", "Maria",  "Marta",  "Monika",  "Natalia", "Renata",   "Teresa",    "Urszula",
    "Wanda",     "Zofia",      "Żaneta", "Bożena", "Jolanta", "Łucja",   "Weronika", "Kinga",
};
constexpr sv polishSurnames[] = {
    "Nowak",     "Kowalski",    "Wiśniewski", "Wójcik",      "Kowalczyk", "Kamiński",   "Lewandowski",   "Zieliński",
    "Szymański", "Woźniak",     "Dąbrowski",  "Kozłowski",   "Jankowski", "Mazur",      "Wojciechowski", "Kwiatkowski",
    "Krawczyk",  "Kaczmarek",   "Piotrowski", "Grabowski",   "Zając",     "Pawłowski",  "Michalski",     "Król",
    "Wieczorek", "Jabłoński",   "Wróbel",     "Nowakowski",  "Majewski",  "Olszewski",  "Stępień",       "Malinowski",
    "Jaworski",  "Adamczyk",    "Dudek",      "Nowicki",     "Pawlak",    "Górski",     "Witkowski",     "Walczak",
    "Sikora",    "Baran",       "Rutkowski",  "Michalak",    "Szewczyk",  "Ostrowski",  "Tomaszewski",   "Pietrzak",
    "Zalewski",  "Wróblewski",  "Jasiński",   "Sadowski",    "Żak",       "Ślusarczyk", "Łukasiewicz",   "Gołębiowski",
    "Bąk",       "Chmielewski", "Śliwiński",  "Kaźmierczak", "Zawadzki",  "Sobczak",
};

constexpr sv englishMale[] = {
    "James",  "John",    "Robert", "Michael",  "William", "David", "Richard", "Thomas", "Charles", "Christopher",
    "Daniel", "Matthew", "George", "Steven",   "Paul",    "Mark",  "Kevin",   "Brian",  "Edward",  "Jack",
    "Frank",  "Peter",   "Harry",  "Nicholas", "Samuel",  "Henry", "Patrick", "Sean",   "Tom",     "Alan",
};
constexpr sv englishFemale[] = {
    "Mary",   "Patricia", "Jennifer", "Linda", "Elizabeth", "Susan",  "Jessica", "Sarah",    "Karen", "Nancy",
    "Lisa",   "Emily",    "Emma",     "Julia", "Kate",      "Rachel", "Laura",   "Helen",    "Anne",  "Diane",
    "Claire", "Grace",    "Meg",      "Holly", "Rose",      "Naomi",  "Sharon",  "Michelle", "Amy",   "Cynthia",
};
constexpr sv englishSurnames[] = {
    "Smith",   "Johnson", "Williams", "Brown",    "Jones",    "Miller",   "Davis",    "Wilson", "Anderson", "Taylor",
    "Thomas",  "Moore",   "Jackson",  "Martin",   "Lee",      "Thompson", "White",    "Harris", "Clark",    "Lewis",
    "Walker",  "Hall",    "Allen",    "Young",    "King",     "Wright",   "Scott",    "Green",  "Baker",    "Adams",
    "Nelson",  "Hill",    "Campbell", "Mitchell", "Roberts",  "Carter",   "Phillips", "Evans",  "Turner",   "Parker",
    "Collins", "Edwards", "Stewart",  "Morris",   "Murphy",   "Cook",     "Rogers",   "Morgan", "Cooper",   "Reed",
    "Bennett", "Gray",    "Hughes",   "Price",    "Sullivan", "Russell",  "Fisher",   "Harper", "Walsh",    "O'Connor",
};

constexpr sv frenchMale[] = {
    "Jean",   "Pierre", "Michel",  "Philippe",   "Alain",   "Jacques", "Bernard", "François", "Gérard",
    "Daniel", "Luc",    "Olivier", "Christophe", "Vincent", "Mathieu", "Julien",  "Laurent",  "Thierry",
};
constexpr sv frenchFemale[] = {
    "Marie",   "Nathalie", "Isabelle", "Sylvie",     "Catherine", "Françoise", "Sophie", "Juliette",
    "Camille", "Amélie",   "Audrey",   "Emmanuelle", "Béatrice",  "Chantal",   "Hélène", "Céline",
};
constexpr sv frenchSurnames[] = {
    "Martin", "Bernard", "Dubois",   "Thomas", "Robert",  "Richard",  "Petit",    "Durand",  "Leroy",   "Moreau",
    "Simon",  "Laurent", "Lefèbvre", "Michel", "Garcia",  "David",    "Bertrand", "Roux",    "Vincent", "Fournier",
    "Morel",  "Girard",  "Bonnet",   "Dupont", "Lambert", "Fontaine", "Rousseau", "Mercier", "Blanc",   "Chevalier",
};

constexpr sv germanMale[] = {
    "Hans",    "Peter", "Klaus", "Wolfgang", "Jürgen",   "Dieter", "Thomas", "Michael", "Stefan",
    "Andreas", "Frank", "Uwe",   "Günter",   "Matthias", "Jan",    "Tobias", "Florian", "Moritz",
};
constexpr sv germanFemale[] = {
    "Ursula",  "Monika",  "Petra",  "Sabine", "Renate", "Helga", "Karin",  "Brigitte",
    "Claudia", "Susanne", "Andrea", "Julia",  "Katrin", "Anja",  "Franka", "Nina",
};
constexpr sv germanSurnames[] = {
    "Müller",  "Schmidt", "Schneider", "Fischer",  "Weber", "Meyer",   "Wagner",   "Becker",  "Schulz",  "Hoffmann",
    "Schäfer", "Koch",    "Bauer",     "Richter",  "Klein", "Wolf",    "Schröder", "Neumann", "Schwarz", "Zimmermann",
    "Braun",   "Krüger",  "Hofmann",   "Hartmann", "Lange", "Schmitt", "Werner",   "Krause",  "Meier",   "Lehmann",
};

constexpr sv italianMale[] = {
    "Marco",   "Giuseppe",   "Giovanni", "Antonio", "Mario", "Luigi",  "Francesco", "Roberto",  "Paolo",
    "Stefano", "Alessandro", "Andrea",   "Massimo", "Luca",  "Sergio", "Vittorio",  "Federico", "Carlo",
};
constexpr sv italianFemale[] = {
    "Maria", "Anna",       "Giulia", "Francesca", "Chiara",  "Sara",  "Valentina", "Laura",
    "Elena", "Alessandra", "Silvia", "Monica",    "Claudia", "Sofia", "Giovanna",  "Paola",
};
constexpr sv italianSurnames[] = {
    "Rossi",    "Russo",   "Ferrari", "Esposito", "Bianchi", "Romano", "Colombo",  "Ricci", "Marino",   "Greco",
    "Bruno",    "Gallo",   "Conti",   "De Luca",  "Mancini", "Costa",  "Giordano", "Rizzo", "Lombardi", "Moretti",
    "Barbieri", "Fontana", "Santoro", "Mariani",  "Rinaldi", "Caruso", "Ferrara",  "Galli", "Martini",  "Leone",
};

constexpr Country countries[] = {
    {"USA", Language::English, 420},
    {"Polska", Language::Polish, 150},
    {"Wielka Brytania", Language::English, 90},
    {"Francja", Language::French, 70},
    {"Niemcy", Language::German, 50},
    {"Włochy", Language::Italian, 35},
    {"Kanada", Language::English, 30},
    {"Australia", Language::English, 15},
    {"Hiszpania", Language::English, 15},
    {"Czechy", Language::English, 15},
    {"Japonia", Language::English, 20},
    {"Szwecja", Language::English, 10},
    {"Dania", Language::English, 10},
    {"Irlandia", Language::English, 10},
    {"Nowa Zelandia", Language::English, 10},
    {"Korea Południowa", Language::English, 10},
    {"Rosja", Language::English, 10},
    {"Meksyk", Language::English, 10},
    {"Węgry", Language::English, 5},
    {"Hongkong", Language::English, 10},
    {"Chiny", Language::English, 5},
};

constexpr sv genres[] = {
    "Dramat",
    "Komedia",
    "Thriller",
    "Horror",
    "Sci-Fi",
    "Fantasy",
    "Akcja",
    "Przygodowy",
    "Kryminał",
    "Wojenny",
    "Western",
    "Animacja",
    "Familijny",
    "Romans",
    "Obyczajowy",
    "Dokumentalny",
    "Biograficzny",
    "Historyczny",
    "Musical",
    "Sensacyjny",
    "Psychologiczny",
    "Komedia romantyczna",
    "Dreszczowiec",
    "Kostiumowy",
    "Komedia kryminalna",
    "Melodramat",
    "Gangsterski",
    "Katastroficzny",
    "Sportowy",
    "Muzyczny",
};

constexpr TitleAdjective adjectives[] = {
    {"Ostatni", "Ostatnia", "Ostatnie", "Last"},
    {"Cichy", "Cicha", "Ciche", "Silent"},
    {"Czarny", "Czarna", "Czarne", "Black"},
    {"Zimny", "Zimna", "Zimne", "Cold"},
    {"Długi", "Długa", "Długie", "Long"},
    {"Złoty", "Złota", "Złote", "Golden"},
    {"Stary", "Stara", "Stare", "Old"},
    {"Ukryty", "Ukryta", "Ukryte", "Hidden"},
    {"Zapomniany", "Zapomniana", "Zapomniane", "Forgotten"},
    {"Dziki", "Dzika", "Dzikie", "Wild"},
    {"Wielki", "Wielka", "Wielkie", "Great"},
    {"Samotny", "Samotna", "Samotne", "Lonely"},
    {"Niebezpieczny", "Niebezpieczna", "Niebezpieczne", "Dangerous"},
    {"Śmiertelny", "Śmiertelna", "Śmiertelne", "Deadly"},
    {"Czerwony", "Czerwona", "Czerwone", "Red"},
    {"Biały", "Biała", "Białe", "White"},
    {"Mroczny", "Mroczna", "Mroczne", "Dark"},
    {"Gorący", "Gorąca", "Gorące", "Hot"},
    {"Żelazny", "Żelazna", "Żelazne", "Iron"},
    {"Szósty", "Szósta", "Szóste", "Sixth"},
    {"Tajemniczy", "Tajemnicza", "Tajemnicze", "Mysterious"},
    {"Piękny", "Piękna", "Piękne", "Beautiful"},
    {"Zły", "Zła", "Złe", "Evil"},
    {"Cudowny", "Cudowna", "Cudowne", "Wonderful"},
    {"Pierwszy", "Pierwsza", "Pierwsze", "First"},
};

constexpr TitleNoun nouns[] = {
    {"ogród", Gender::Masculine, "Garden", "Le Jardin", "Der Garten", "Il giardino"},
    {"rzeka", Gender::Feminine, "River", "La Rivière", "Der Fluss", "Il fiume"},
    {"miasto", Gender::Neuter, "City", "La Ville", "Die Stadt", "La città"},
    {"noc", Gender::Feminine, "Night", "La Nuit", "Die Nacht", "La notte"},
    {"dom", Gender::Masculine, "House", "La Maison", "Das Haus", "La casa"},
    {"zima", Gender::Feminine, "Winter", "L'Hiver", "Der Winter", "L'inverno"},
    {"lato", Gender::Neuter, "Summer", "L'Été", "Der Sommer", "L'estate"},
    {"wyspa", Gender::Feminine, "Island", "L'Île", "Die Insel", "L'isola"},
    {"droga", Gender::Feminine, "Road", "La Route", "Die Straße", "La strada"},
    {"pociąg", Gender::Masculine, "Train", "Le Train", "Der Zug", "Il treno"},
    {"sekret", Gender::Masculine, "Secret", "Le Secret", "Das Geheimnis", "Il segreto"},
    {"gra", Gender::Feminine, "Game", "Le Jeu", "Das Spiel", "Il gioco"},
    {"ucieczka", Gender::Feminine, "Escape", "La Fuite", "Die Flucht", "La fuga"},
    {"świadek", Gender::Masculine, "Witness", "Le Témoin", "Der Zeuge", "Il testimone"},
    {"żołnierz", Gender::Masculine, "Soldier", "Le Soldat", "Der Soldat", "Il soldato"},
    {"księżyc", Gender::Masculine, "Moon", "La Lune", "Der Mond", "La luna"},
    {"słońce", Gender::Neuter, "Sun", "Le Soleil", "Die Sonne", "Il sole"},
    {"serce", Gender::Neuter, "Heart", "Le Cœur", "Das Herz", "Il cuore"},
    {"lustro", Gender::Neuter, "Mirror", "Le Miroir", "Der Spiegel", "Lo specchio"},
    {"krew", Gender::Feminine, "Blood", "Le Sang", "Das Blut", "Il sangue"},
    {"granica", Gender::Feminine, "Border", "La Frontière", "Die Grenze", "Il confine"},
    {"miłość", Gender::Feminine, "Love", "L'Amour", "Die Liebe", "L'amore"},
    {"wojna", Gender::Feminine, "War", "La Guerre", "Der Krieg", "La guerra"},
    {"pustynia", Gender::Feminine, "Desert", "Le Désert", "Die Wüste", "Il deserto"},
    {"klucz", Gender::Masculine, "Key", "La Clé", "Der Schlüssel", "La chiave"},
    {"łowca", Gender::Masculine, "Hunter", "Le Chasseur", "Der Jäger", "Il cacciatore"},
    {"anioł", Gender::Masculine, "Angel", "L'Ange", "Der Engel", "L'angelo"},
    {"wilk", Gender::Masculine, "Wolf", "Le Loup", "Der Wolf", "Il lupo"},
    {"ogień", Gender::Masculine, "Fire", "Le Feu", "Das Feuer", "Il fuoco"},
    {"cień", Gender::Masculine, "Shadow", "L'Ombre", "Der Schatten", "L'ombra"},
    {"burza", Gender::Feminine, "Storm", "La Tempête", "Der Sturm", "La tempesta"},
    {"dziewczyna", Gender::Feminine, "Girl", "La Fille", "Das Mädchen", "La ragazza"},
    {"złodziej", Gender::Masculine, "Thief", "Le Voleur", "Der Dieb", "Il ladro"},
    {"sąsiad", Gender::Masculine, "Neighbour", "Le Voisin", "Der Nachbar", "Il vicino"},
    {"dziecko", Gender::Neuter, "Child", "L'Enfant", "Das Kind", "Il bambino"},
    {"morze", Gender::Neuter, "Sea", "La Mer", "Das Meer", "Il mare"},
    {"niebo", Gender::Neuter, "Sky", "Le Ciel", "Der Himmel", "Il cielo"},
    {"śledztwo", Gender::Neuter, "Investigation", "L'Enquête", "Die Ermittlung", "L'indagine"},
    {"ślub", Gender::Masculine, "Wedding", "Le Mariage", "Die Hochzeit", "Il matrimonio"},
    {"źródło", Gender::Neuter, "Spring", "La Source", "Die Quelle", "La sorgente"},
    {"żagiel", Gender::Masculine, "Sail", "La Voile", "Das Segel", "La vela"},
    {"sędzia", Gender::Masculine, "Judge", "Le Juge", "Der Richter", "Il giudice"},
    {"podróż", Gender::Feminine, "Journey", "Le Voyage", "Die Reise", "Il viaggio"},
    {"powrót", Gender::Masculine, "Return", "Le Retour", "Die Rückkehr", "Il ritorno"},
    {"zemsta", Gender::Feminine, "Revenge", "La Vengeance", "Die Rache", "La vendetta"},
};

constexpr TitlePlace titlePlaces[] = {
    {"w Warszawie", "in Warsaw"}, {"w Paryżu", "in Paris"},    {"w Nowym Jorku", "in New York"},
    {"w Rzymie", "in Rome"},      {"w Berlinie", "in Berlin"}, {"w Tokio", "in Tokyo"},
    {"w Londynie", "in London"},  {"w Krakowie", "in Cracow"}, {"w Wenecji", "in Venice"},
    {"w Teksasie", "in Texas"},   {"w Chicago", "in Chicago"}, {"nad Wisłą", "on the Vistula"},
};

constexpr TitlePair subtitles[] = {
    {"The Return", "Powrót"},
    {"Revenge", "Zemsta"},
    {"The Beginning", "Początek"},
    {"Awakening", "Przebudzenie"},
    {"Final Battle", "Ostateczne starcie"},
    {"New Blood", "Nowa krew"},
    {"The Last Chapter", "Ostatni rozdział"},
    {"Judgement Day", "Dzień sądu"},
};

constexpr TitlePair englishKnown[] = {
    {"Gone with the Wind", "Przeminęło z wiatrem"},
    {"Some Like It Hot", "Pół żartem, pół serio"},
    {"The Godfather", "Ojciec chrzestny"},
    {"Jaws", "Szczęki"},
    {"Die Hard", "Szklana pułapka"},
    {"Home Alone", "Kevin sam w domu"},
    {"Dirty Dancing", "Dirty Dancing"},
    {"The Shining", "Lśnienie"},
    {"Taxi Driver", "Taksówkarz"},
    {"Heat", "Gorączka"},
    {"Rain Man", "Rain Man"},
    {"Casablanca", "Casablanca"},
    {"One Flew Over the Cuckoo's Nest", "Lot nad kukułczym gniazdem"},
    {"The Silence of the Lambs", "Milczenie owiec"},
    {"Back to the Future", "Powrót do przyszłości"},
    {"Groundhog Day", "Dzień świstaka"},
    {"The Sting", "Żądło"},
    {"High Noon", "W samo południe"},
    {"Airplane!", "Czy leci z nami pilot?"},
    {"Police Academy", "Akademia policyjna"},
    {"Lethal Weapon", "Zabójcza broń"},
};
constexpr TitlePair polishKnown[] = {
    {"Rejs", "Rejs"},
    {"Miś", "Miś"},
    {"Seksmisja", "Seksmisja"},
    {"Kiler", "Kiler"},
    {"Pan Tadeusz", "Pan Tadeusz"},
    {"Dzień świra", "Dzień świra"},
    {"Psy", "Psy"},
    {"Vabank", "Vabank"},
    {"Potop", "Potop"},
    {"Nie lubię poniedziałku", "Nie lubię poniedziałku"},
    {"Sami swoi", "Sami swoi"},
    {"Kingsajz", "Kingsajz"},
    {"Ogniem i mieczem", "Ogniem i mieczem"},
    {"Chłopaki nie płaczą", "Chłopaki nie płaczą"},
};
constexpr TitlePair frenchKnown[] = {
    {"Le Fabuleux Destin d'Amélie Poulain", "Amelia"}, {"La Haine", "Nienawiść"}, {"Les Visiteurs", "Goście, goście"},
    {"Le Dîner de cons", "Kolacja dla palantów"},      {"Taxi", "Taxi"},          {"Léon", "Leon zawodowiec"},
};
constexpr TitlePair germanKnown[] = {
    {"Das Boot", "Okręt"},
    {"Lola rennt", "Biegnij, Lola, biegnij"},
    {"Good Bye, Lenin!", "Good Bye, Lenin!"},
    {"Der Untergang", "Upadek"},
};
constexpr TitlePair italianKnown[] = {
    {"La vita è bella", "Życie jest piękne"},
    {"Nuovo Cinema Paradiso", "Cinema Paradiso"},
    {"Il buono, il brutto, il cattivo", "Dobry, zły i brzydki"},
    {"La dolce vita", "Słodkie życie"},
};

// Long sentences are split over lines on purpose, not for want of a comma.
// NOLINTBEGIN(bugprone-suspicious-missing-comma)
constexpr sv openings[] = {
    "{P} jest {młodym|młodą} {J} {M}.",
    "{M} mieszka {P}, {który|która} od lat jest {J} i marzy o spokojnym życiu z dala od wielkiego miasta.",
    "Akcja rozgrywa się w latach {D}, gdy {P} wraca do rodzinnego domu po wielu latach nieobecności i zastaje zupełnie "
    "inny świat.",
    "Kiedy {P} po raz pierwszy przekracza próg nowej pracy, nie wie jeszcze, że ten dzień odmieni całe {jego|jej} "
    "życie.",
    "{P} od dziecka {chciał|chciała} zostać {J}, ale los {go|ją} nie oszczędzał.",
    "Jest koniec lat {D}. {P} od lat jest {J} {M} i właśnie {dostał|dostała} propozycję nie do odrzucenia.",
};

constexpr sv plot[] = {
    "Pewnego dnia {P} otrzymuje tajemniczą przesyłkę bez nadawcy, a w środku znajduje stare zdjęcie i klucz do skrytki "
    "na dworcu.",
    "Wkrótce okazuje się, że nic nie jest takie, jakim się wydaje.",
    "{S}, [dawny przyjaciel|dawna przyjaciółka] z lat szkolnych, proponuje {mu|jej} udział w przedsięwzięciu, które "
    "może przynieść fortunę, ale też kosztować życie.",
    "Śledztwo prowadzi do wpływowych ludzi, którzy zrobią wszystko, by ukryć prawdę.",
    "{P} musi zmierzyć się nie tylko z przeciwnikami, ale przede wszystkim z własną przeszłością.",
    "Nocą na ulicach miasta dochodzi do serii tajemniczych zdarzeń, a policja jest bezradna.",
    "Gdy ginie {jego|jej} najbliższy przyjaciel, {P} postanawia na własną rękę odnaleźć winnych.",
    "Każdy kolejny dzień przynosi nowe pytania, a czasu zostaje coraz mniej.",
    "Tymczasem {S} zaczyna podejrzewać, że ktoś śledzi każdy [jego|jej] krok.",
    "Ucieczka przez zaśnieżone góry staje się walką o przetrwanie.",
    "W małym miasteczku wszyscy się znają i nikt nie lubi obcych, którzy zadają zbyt wiele pytań.",
    "Źródłem kłopotów okazuje się rodzinny sekret skrywany od trzech pokoleń.",
    "Później sprawy przybierają nieoczekiwany obrót, a dawni sojusznicy stają się wrogami.",
    "{P} nie ma pojęcia, że za wszystkim stoi ktoś z {jego|jej} najbliższego otoczenia.",
    "Rodzina nie rozumie {jego|jej} decyzji, a {jego narzeczona|jej narzeczony} stawia sprawę jasno: albo praca, albo "
    "ślub.",
    "Żeby ocalić ukochaną osobę, {P} musi złamać wszystkie zasady, w które dotąd {wierzył|wierzyła}.",
    "Ślady prowadzą za granicę, do Pragi, Wiednia i Budapesztu.",
    "W tle rozgrywa się historia wielkiej miłości, zazdrości i zdrady.",
    "Zima tego roku jest wyjątkowo mroźna, a śnieg odcina miasteczko od świata.",
    "Dźwięk telefonu w środku nocy zapowiada kłopoty, których nikt się nie spodziewał.",
    "Łańcuch zdarzeń, który zaczyna się od drobnego kłamstwa, prowadzi do tragedii.",
    "Bohaterowie muszą szybko zdecydować, komu mogą zaufać.",
    "Gdy wszystko wydaje się stracone, pojawia się nieoczekiwana pomoc.",
    "Pościg ulicami miasta kończy się w opuszczonej fabryce na przedmieściach.",
    "{P} coraz częściej wraca myślami do dzieciństwa i do dnia, w którym zniknął {jego|jej} ojciec.",
    "Zaczyna się gra, w której stawką jest życie niewinnych ludzi.",
    "Nagle w miasteczku pojawia się nieznajomy, który twierdzi, że zna prawdę o pożarze sprzed lat.",
    "Kiedy prawda wychodzi na jaw, nikt nie jest już bezpieczny.",
    "{S} nie ufa nikomu i [sam|sama] ma niejedno na sumieniu.",
    "Wszystko komplikuje się jeszcze bardziej, gdy w sprawę wtrąca się prasa.",
    "Na domiar złego {P} traci pracę, a bank upomina się o spłatę długu.",
};

constexpr sv verdicts[] = {
    "Film to pełna napięcia opowieść o odwadze, przyjaźni i cenie, jaką płaci się za prawdę.",
    "Znakomite zdjęcia i muzyka budują niepowtarzalny klimat, a zakończenie zaskakuje nawet doświadczonych widzów.",
    "Obraz zdobył kilka nagród na festiwalach, m.in. w Gdyni i w Berlinie.",
    "Reżyser z dużym wyczuciem łączy elementy dramatu, humoru i kina akcji.",
    "Świetne role drugoplanowe i błyskotliwe dialogi sprawiają, że film ogląda się jednym tchem.",
    "Niektóre sceny mogą być nieodpowiednie dla młodszych widzów.",
    "To jeden z najważniejszych filmów dekady, chętnie oglądany także po latach.",
    "Krytycy chwalili scenariusz, choć zarzucali twórcom zbyt długi finał.",
    "Ścieżka dźwiękowa, pełna przebojów tamtych lat, szybko stała się bestsellerem.",
    "To ekranizacja powieści, która w Polsce ukazała się kilka lat wcześniej.",
    "Dla miłośników gatunku pozycja obowiązkowa, pozostali również nie powinni być zawiedzeni.",
    "Film powstał na podstawie prawdziwych wydarzeń.",
};
// NOLINTEND(bugprone-suspicious-missing-comma)

constexpr sv professions[] = {
    "policjantem|policjantką", "dziennikarzem|dziennikarką", "nauczycielem|nauczycielką",
    "lekarzem|lekarką",        "adwokatem|adwokatką",        "taksówkarzem|taksówkarką",
    "pisarzem|pisarką",        "agentem FBI|agentką FBI",    "kelnerem|kelnerką",
    "księgowym|księgową",      "malarzem|malarką",           "pilotem|pilotką",
    "fotografem|fotografką",   "pianistą|pianistką",         "studentem medycyny|studentką medycyny",
};

constexpr sv descriptionPlaces[] = {
    "w Warszawie",
    "w Krakowie",
    "w Gdańsku",
    "w Łodzi",
    "we Wrocławiu",
    "w Poznaniu",
    "w Zakopanem",
    "w małym miasteczku na Mazurach",
    "na przedmieściach Chicago",
    "w Nowym Jorku",
    "w Paryżu",
    "w Londynie",
    "w Berlinie",
    "na prowincji",
    "w nadmorskim kurorcie",
    "w Szczecinie",
    "w Lublinie",
};

constexpr sv decades[] = {
    "pięćdziesiątych", "sześćdziesiątych", "siedemdziesiątych", "osiemdziesiątych", "dziewięćdziesiątych",
};

constexpr DescriptionPools descriptionPools{openings, plot, verdicts, professions, descriptionPlaces, decades};

constexpr sv remarks[] = {
    "Napisy wtopione.",
    "Wersja reżyserska.",
    "Pożyczony od Marka, oddać!",
    "Kopia z telewizji, reklamy wycięte.",
    "Brak okładki.",
    "Wersja z lektorem.",
    "Płyta porysowana, ostatnie minuty się zacinają.",
    "Edycja specjalna, 2 płyty.",
    "Nagrane z Canal+.",
    "Dźwięk lekko przesunięty względem obrazu.",
    "Obejrzeć jeszcze raz z dziećmi.",
    "Prezent od cioci Zosi.",
    "Wersja kinowa, bez scen dodatkowych.",
    "Kupione na giełdzie, jakość średnia.",
    "Oryginalne wydanie, z książeczką.",
    "Napisy w osobnym pliku *.txt.",
    "Źle dopasowane napisy, poprawić.",
    "Jakość bardzo dobra, polecam!",
};

constexpr sv locations[] = {
    "Półka 1",
    "Półka 2, rząd dolny",
    "Półka 3, rząd górny",
    "Szafa w salonie",
    "Pudełko z serialami",
    "Segregator A",
    "Segregator B, strona 12",
    "Szuflada pod telewizorem",
    "Piwnica, karton nr 4",
    "U Tomka",
    "Biurko w pracy",
    "Regał przy oknie",
};

constexpr sv dvdLanguages[] = {
    "Polski", "Angielski", "Niemiecki", "Francuski", "Hiszpański", "Włoski", "Czeski", "Węgierski", "Rosyjski",
};

constexpr sv subtitleLanguages[] = {
    "Polskie", "Angielskie", "Niemieckie", "Francuskie", "Hiszpańskie", "Włoskie",
    "Czeskie", "Węgierskie", "Hebrajskie", "Tureckie",   "Szwedzkie",   "Duńskie",
};

constexpr sv musicGenres[] = {
    "Rock",
    "Pop",
    "Jazz",
    "Poezja śpiewana",
    "Disco polo",
    "Muzyka klasyczna",
    "Blues",
    "Heavy metal",
    "Muzyka elektroniczna",
    "Folk",
    "Reggae",
    "Punk",
    "Szanty",
    "Ścieżka dźwiękowa",
};

constexpr sv musicMedia[] = {"CD", "Kaseta", "Płyta winylowa", "MP3", "Minidisc"};

}  // namespace

NamePool NamesOf(Language language)
{
    switch (language) {
    case Language::Polish: return {polishMale, polishFemale, polishSurnames, true};
    case Language::French: return {frenchMale, frenchFemale, frenchSurnames, false};
    case Language::German: return {germanMale, germanFemale, germanSurnames, false};
    case Language::Italian: return {italianMale, italianFemale, italianSurnames, false};
    case Language::English: break;
    }
    return {englishMale, englishFemale, englishSurnames, false};
}

std::span<const Country> Countries()
{
    return countries;
}
std::span<const std::string_view> Genres()
{
    return genres;
}
std::span<const TitleAdjective> TitleAdjectives()
{
    return adjectives;
}
std::span<const TitleNoun> TitleNouns()
{
    return nouns;
}
std::span<const TitlePlace> TitlePlaces()
{
    return titlePlaces;
}
std::span<const TitlePair> TitleSubtitles()
{
    return subtitles;
}

std::span<const TitlePair> KnownTitles(Language language)
{
    switch (language) {
    case Language::Polish: return polishKnown;
    case Language::French: return frenchKnown;
    case Language::German: return germanKnown;
    case Language::Italian: return italianKnown;
    case Language::English: break;
    }
    return englishKnown;
}

const DescriptionPools& Descriptions()
{
    return descriptionPools;
}
std::span<const std::string_view> Remarks()
{
    return remarks;
}
std::span<const std::string_view> Locations()
{
    return locations;
}
std::span<const std::string_view> DvdLanguages()
{
    return dvdLanguages;
}
std::span<const std::string_view> SubtitleLanguages()
{
    return subtitleLanguages;
}
std::span<const std::string_view> MusicGenres()
{
    return musicGenres;
}
std::span<const std::string_view> MusicMedia()
{
    return musicMedia;
}

}  // namespace sample
