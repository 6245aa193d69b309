#include "LibraryFolder.h"

#include <string_view>

VIEWER_NAMESPACE_BEGIN

Lettra FolderOfPath(const char* path)
{
    const std::string_view text(path != nullptr ? path : "");
    const std::size_t last = text.find_last_of("/\\");
    return last == std::string_view::npos ? Lettra()
                                          : Lettra(text.substr(0, last + 1).data(), int(last + 1));
}

VIEWER_NAMESPACE_END
