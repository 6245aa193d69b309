// libFuzzer target of the XML parser of DMarkup. The input is parsed as a
// document; when it parses, the cursor walks every element and reads it, and
// a few edits follow, after each of which the element records must still
// match a fresh parse of the text. The first input byte picks the edits.
#include "DMarkup.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace
{

void ReadLevel(DMarkup& markup, int depth)
{
    while (markup.Next())
    {
        markup.GetTagName();
        markup.GetData();
        markup.GetAttrib(nullptr);
        markup.GetAttribName(1);
        markup.GetSubDoc();
        if (markup.HasChild() && depth < DMarkup::kMaxDepth)
        {
            markup.IntoElem();
            ReadLevel(markup, depth + 1);
            markup.OutOfElem();
        }
    }
}

// A text picture of the records: names and offsets in document order.
std::string Picture(const DMarkup& source)
{
    DMarkup markup(source);
    markup.ResetPos();
    std::string out;
    while (true)
    {
        if (markup.Next())
        {
            int a = 0, b = 0, c = 0, d = 0;
            markup.GetOffsets(a, b, c, d);
            out += std::string(markup.GetTagName().constBuffer()) + ' ' + std::to_string(a) + ' ' +
                   std::to_string(b) + ' ' + std::to_string(c) + ' ' + std::to_string(d) + '\n';
            if (markup.HasChild())
            {
                markup.IntoElem();
                out += "{\n";
            }
        }
        else if (markup.OutOfElem())
        {
            out += "}\n";
        }
        else
        {
            return out;
        }
    }
}

void CheckConsistent(const DMarkup& markup)
{
    DMarkup fresh;
    fresh.SetDoc(markup.GetDoc());
    if (Picture(markup) != Picture(fresh))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0 || size > (1 << 20))
        return 0;
    const uint8_t choice = data[0];
    const Lettra text(reinterpret_cast<const char*>(data + 1), static_cast<int>(size - 1));
    DMarkup markup;
    if (!markup.SetDoc(text))
    {
        if (markup.GetError().IsEmpty())
            std::abort();
        return 0;
    }
    ReadLevel(markup, 0);
    markup.ResetPos();
    markup.FindElem();
    markup.FindChildElem();
    if (choice & 1)
        markup.AddChildElem("n", "a<b&c");
    if (choice & 2)
        markup.SetAttrib("k", "\"v\"");
    if (choice & 4)
        markup.SetChildData("d", choice & 8);
    if (choice & 16)
        markup.AddChildSubDoc("<s><t/></s>");
    if (choice & 32)
        markup.RemoveChildElem();
    if (choice & 64)
    {
        markup.IntoElem();
        markup.RemoveElem();
    }
    if (choice & 128)
        markup.GotoPath("/a/b//c");
    CheckConsistent(markup);
    return 0;
}
