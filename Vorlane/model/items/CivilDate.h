#pragma once

#include <QtGlobal>

// A day of the proleptic Gregorian calendar as year, month and day, with the arithmetic the date
// rules need done on day numbers (days since 1970-01-01). QDate does the same through its
// calendar backend, a few hundred nanoseconds a step; the rebuild dates thousands of documents.
// Years from 1 on: QDate counts no year 0, which these formulas do.
struct CivilDate
{
    int year = 1970;
    int month = 1;
    int day = 1;

    static CivilDate fromDayNumber(qint64 dayNumber);
    qint64 dayNumber() const;

    static int daysInMonth(int year, int month);
    // As QDate::addYears and QDate::addMonths: the day of the month is kept, or the month's last
    // day where it has fewer.
    CivilDate addYears(int years) const;
    CivilDate addMonths(int months) const;

    friend bool operator==(const CivilDate&, const CivilDate&) = default;
};
