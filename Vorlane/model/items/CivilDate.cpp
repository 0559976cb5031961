#include "CivilDate.h"

#include <algorithm>

// Howard Hinnant's days_from_civil and civil_from_days: 400-year eras starting on 1 March, so
// that the leap day ends each year.
CivilDate CivilDate::fromDayNumber(qint64 dayNumber)
{
    const qint64 shifted = dayNumber + 719468;
    const qint64 era = (shifted >= 0 ? shifted : shifted - 146096) / 146097;
    const qint64 dayOfEra = shifted - era * 146097;
    const qint64 yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const qint64 dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const qint64 monthFromMarch = (5 * dayOfYear + 2) / 153;
    const int day = int(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
    const int month = int(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
    const int year = int(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
    return {year, month, day};
}

qint64 CivilDate::dayNumber() const
{
    const qint64 y = year - (month <= 2 ? 1 : 0);
    const qint64 era = (y >= 0 ? y : y - 399) / 400;
    const qint64 yearOfEra = y - era * 400;
    const qint64 dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const qint64 dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

int CivilDate::daysInMonth(int year, int month)
{
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

CivilDate CivilDate::addYears(int years) const
{
    const int target = year + years;
    return {target, month, std::min(day, daysInMonth(target, month))};
}

CivilDate CivilDate::addMonths(int months) const
{
    const int fromYearZero = year * 12 + (month - 1) + months;
    const int targetYear = fromYearZero >= 0 ? fromYearZero / 12 : (fromYearZero - 11) / 12;
    const int targetMonth = fromYearZero - targetYear * 12 + 1;
    return {targetYear, targetMonth, std::min(day, daysInMonth(targetYear, targetMonth))};
}
