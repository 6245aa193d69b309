#include "DecimalList.h"

std::vector<double> ReadDecimalList(const Lettra& text)
{
    std::vector<double> numbers;
    int start = 0;
    while (start <= text.GetLength() && !text.IsEmpty())
    {
        int end = text.Find('\\', start);
        if (end < 0)
        {
            end = text.GetLength();
        }
        const Lettra value = text.Mid(start, end - start).Trim();
        if (!value.IsEmpty())
        {
            numbers.push_back(value.Double());
        }
        start = end + 1;
    }
    return numbers;
}
