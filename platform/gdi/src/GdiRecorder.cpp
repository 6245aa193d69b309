#include "GdiRecorder.h"

#include "DeviceContext.h"

void GdiRecordCalls(HDC hdc, bool bRecord)
{
    if (DeviceContext* dc = LookupDC(hdc))
    {
        dc->m_recording.clear();
        dc->m_bRecording = bRecord;
    }
}

std::vector<std::string> GdiGetRecordedCalls(HDC hdc)
{
    DeviceContext* dc = LookupDC(hdc);
    return dc != nullptr ? dc->m_recording : std::vector<std::string>{};
}

void GdiRecord(HDC hdc, const char* name, std::initializer_list<long long> args)
{
    DeviceContext* dc = LookupDC(hdc);
    if (dc == nullptr || !dc->m_bRecording)
        return;
    std::string line = name;
    line += '(';
    bool first = true;
    for (long long value : args)
    {
        if (!first)
            line += ',';
        line += std::to_string(value);
        first = false;
    }
    line += ')';
    dc->m_recording.push_back(std::move(line));
}
