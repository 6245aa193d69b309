// Peer toolkits run as oracles: dcmtk's programs and pydicom, which
// scripts/bootstrap.sh installs. A test whose peer is missing skips that
// check.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

inline bool HasPeerTool(const char* tool)
{
    return std::system((std::string("command -v ") + tool + " > /dev/null 2>&1").c_str()) == 0;
}

// What a peer command wrote (standard output and error, line by line,
// without the line ends) and whether it exited with 0.
struct PeerOutput
{
    std::vector<std::string> lines;
    bool succeeded = false;
};

inline PeerOutput RunPeer(const std::string& command)
{
    PeerOutput output;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr)
    {
        return output;
    }
    char line[4096];
    while (std::fgets(line, sizeof line, pipe) != nullptr)
    {
        std::string text(line);
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        {
            text.pop_back();
        }
        output.lines.push_back(text);
    }
    output.succeeded = pclose(pipe) == 0;
    return output;
}

// The Debian interpreter, which has the Debian pydicom (another python3
// may come first on the path); empty when pydicom is not installed.
inline std::string GetPydicomPython()
{
    for (const char* python : {"/usr/bin/python3", "python3"})
    {
        const std::string probe = std::string(python) + " -c 'import pydicom' > /dev/null 2>&1";
        if (std::system(probe.c_str()) == 0)
        {
            return python;
        }
    }
    return {};
}
