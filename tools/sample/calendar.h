#pragma once
// Days counted from 1970-01-01 and the catalogue's date-time text
// "YYYY-MM-DD HH:MM:SS" (the generator never writes milliseconds).

#include <string>

namespace sample {

struct CivilDate {
    int year;
    int month;  // 1..12
    int day;    // 1..31
};

int DayNumber(const CivilDate& date);
CivilDate DateOfDay(int dayNumber);
// secondOfDay 0..86399.
std::string DateTimeText(int dayNumber, int secondOfDay = 0);

}  // namespace sample
