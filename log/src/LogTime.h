// The local time as the log prints it: whole seconds through the automation
// date, each field -1 when the time cannot be converted.
#pragma once

struct SLogTime
{
    int year;
    int month;
    int day;
    int hour;
    int minute;
    int second;
};

SLogTime GetLogTime();
