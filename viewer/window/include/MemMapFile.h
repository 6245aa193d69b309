// MemMapFile: the named shared block through which one DICOM file goes to
// the film-composing program. It is created with a security descriptor
// whose access list grants reading and writing to everyone; the platform
// narrows that to the user's own processes, the only ones a hand-over is
// meant for.
#pragma once

#include "QuillonExport.h"
#include "WinTypes.h"

class QUILLON_API MemMapFile
{
public:
    MemMapFile() = default;
    MemMapFile(const MemMapFile&) = delete;
    MemMapFile& operator=(const MemMapFile&) = delete;
    // Closes the block.
    ~MemMapFile();

    // Creates (or joins) the block "Global\" + name of at least size bytes
    // and maps size bytes of it; false, with a log line, when either fails.
    bool Create(const char* name, unsigned int size);
    // The mapped bytes, null when none.
    void* GetBuffer() const { return m_view; }
    // Unmaps the view and closes the block; both null afterwards.
    void Close();

private:
    void* m_view = nullptr;
    HANDLE m_mapping = nullptr;
};
