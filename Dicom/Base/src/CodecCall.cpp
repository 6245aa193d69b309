#include "CodecCall.h"

#include "InBuffer.h"
#include "OutBuffer.h"

#include <new>

int GetCodecLayoutBytes(enCodecLayout layout)
{
    switch (layout)
    {
    case enCodecLayout::Bits8:
        return 1;
    case enCodecLayout::Bits12:
    case enCodecLayout::Bits16:
        return 2;
    case enCodecLayout::RGB:
    case enCodecLayout::YBR:
        return 3;
    }
    return 0;
}

const char* GetCodecLayoutName(enCodecLayout layout)
{
    switch (layout)
    {
    case enCodecLayout::Bits8:
        return "8Bit";
    case enCodecLayout::Bits12:
        return "12Bit";
    case enCodecLayout::Bits16:
        return "16Bit";
    case enCodecLayout::RGB:
        return "RGB";
    case enCodecLayout::YBR:
        return "YBR";
    }
    return "";
}

std::vector<std::uint8_t> GatherCodecInput(InBuffer& input)
{
    std::vector<std::uint8_t> block(input.Ensure(input.GetRemaining()));
    block.resize(input.Read(block.data(), static_cast<std::uint32_t>(block.size())));
    return block;
}

CodecSink MakeStreamSink(OutBuffer& output)
{
    return [&output](const std::uint8_t* data, std::uint32_t length)
    {
        if (output.Write(data, length) != length)
        {
            throw std::bad_alloc();
        }
    };
}
