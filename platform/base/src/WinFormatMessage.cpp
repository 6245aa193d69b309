#include "WinFormatMessage.h"

#include "WinError.h"

#include <cstring>
#include <string>

namespace
{

struct CMessage
{
    DWORD code;
    const char* text;
};

const CMessage kMessages[] = {
    {ERROR_SUCCESS, "The operation completed successfully."},
    {ERROR_INVALID_FUNCTION, "The function is not valid."},
    {ERROR_FILE_NOT_FOUND, "The file cannot be found."},
    {ERROR_PATH_NOT_FOUND, "The path cannot be found."},
    {ERROR_TOO_MANY_OPEN_FILES, "Too many files are open."},
    {ERROR_ACCESS_DENIED, "Access is denied."},
    {ERROR_INVALID_HANDLE, "The handle is not valid."},
    {ERROR_NOT_ENOUGH_MEMORY, "There is not enough memory to complete the operation."},
    {ERROR_INVALID_ACCESS, "The access code is not valid."},
    {ERROR_OUTOFMEMORY, "There is not enough memory to complete the operation."},
    {ERROR_NO_MORE_FILES, "There are no more files."},
    {ERROR_WRITE_FAULT, "The device cannot be written to."},
    {ERROR_READ_FAULT, "The device cannot be read from."},
    {ERROR_SHARING_VIOLATION, "The file is in use by another open handle and cannot be accessed."},
    {ERROR_LOCK_VIOLATION, "A part of the file is locked."},
    {ERROR_HANDLE_EOF, "The end of the file has been reached."},
    {ERROR_NOT_SUPPORTED, "The request is not supported."},
    {ERROR_FILE_EXISTS, "The file already exists."},
    {ERROR_INVALID_PARAMETER, "A parameter is not valid."},
    {ERROR_BUFFER_OVERFLOW, "The data does not fit in the buffer given."},
    {ERROR_DISK_FULL, "There is not enough space on the disk."},
    {ERROR_INSUFFICIENT_BUFFER, "The data area passed is too small."},
    {ERROR_INVALID_NAME, "The file name, folder name or volume label syntax is not valid."},
    {ERROR_MOD_NOT_FOUND, "The module cannot be found."},
    {ERROR_PROC_NOT_FOUND, "The procedure cannot be found."},
    {ERROR_NEGATIVE_SEEK, "The file pointer cannot be set before the start of the file."},
    {ERROR_DIR_NOT_EMPTY, "The folder is not empty."},
    {ERROR_ALREADY_EXISTS, "The file cannot be created because it already exists."},
    {ERROR_FILENAME_EXCED_RANGE, "The file name or extension is too long."},
    {ERROR_NO_DATA, "No data is available."},
    {ERROR_MORE_DATA, "More data is available."},
    {ERROR_DIRECTORY, "The folder name is not valid."},
    {ERROR_MR_MID_NOT_FOUND, "No message text exists for the message number."},
    {ERROR_INVALID_FLAGS, "The flags are not valid."},
    {ERROR_NO_UNICODE_TRANSLATION, "No mapping for the Unicode character exists in the code page."},
};

const char* FindMessage(DWORD code)
{
    for (const CMessage& message : kMessages)
    {
        if (message.code == code)
            return message.text;
    }
    return nullptr;
}

} // namespace

DWORD FormatMessageA(DWORD flags, LPCVOID, DWORD code, DWORD, LPSTR buffer, DWORD size, va_list*)
{
    if ((flags & ~FORMAT_MESSAGE_IGNORE_INSERTS) != FORMAT_MESSAGE_FROM_SYSTEM || buffer == nullptr)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const char* message = FindMessage(code);
    if (message == nullptr)
    {
        SetLastError(ERROR_MR_MID_NOT_FOUND);
        return 0;
    }
    const std::string text = std::string(message) + "\r\n";
    if (text.size() + 1 > size)
    {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return static_cast<DWORD>(text.size());
}
