// PelivoRun [file]: the stand-alone viewer. A DICOMDIR named on the command
// line opens the DICOMDIR browser; any other file is shown.
#include "PelivoRunApp.h"
#include "PelivoWebView.h"

#include <string>
#include <vector>

int main(int argc, char** argv)
{
    CPelivoRunApp app(std::vector<std::string>(argv, argv + argc), RUNTIME_CLASS(CPelivoWebView));
    return AfxWinMain(nullptr, nullptr, nullptr, SW_SHOWMAXIMIZED);
}
