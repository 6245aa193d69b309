#include "X11SelectionReader.h"

#include <climits>
#include <poll.h>

namespace
{
// How long a request to another client may take before it counts as failed.
constexpr int kReplyTimeoutMs = 2000;
} // namespace

CX11SelectionReader::CX11SelectionReader(Display* pDisplay, Window window)
    : m_pDisplay(pDisplay), m_window(window),
      m_property(XInternAtom(pDisplay, "PELIVO_TRANSFER", False)),
      m_incr(XInternAtom(pDisplay, "INCR", False))
{
}

bool CX11SelectionReader::WaitFor(int nType, XEvent& event, bool (*accept)(const XEvent&, Atom),
                                  Atom atom)
{
    int nWaited = 0;
    for (;;)
    {
        XPending(m_pDisplay);
        while (XCheckTypedWindowEvent(m_pDisplay, m_window, nType, &event))
        {
            if (accept(event, atom))
                return true;
        }
        if (nWaited >= kReplyTimeoutMs)
            return false;
        pollfd fd{ConnectionNumber(m_pDisplay), POLLIN, 0};
        poll(&fd, 1, 50);
        nWaited += 50;
    }
}

bool CX11SelectionReader::ReadProperty(std::vector<unsigned char>& bytes, Atom& type,
                                       bool& bIncrement)
{
    int nFormat = 0;
    unsigned long nItems = 0;
    unsigned long nAfter = 0;
    unsigned char* pData = nullptr;
    if (XGetWindowProperty(m_pDisplay, m_window, m_property, 0, LONG_MAX / 4, True, AnyPropertyType,
                           &type, &nFormat, &nItems, &nAfter, &pData) != Success)
        return false;
    bIncrement = type == m_incr;
    // Items of 32 bits come as longs.
    const std::size_t nItemBytes = nFormat == 32 ? sizeof(long) : std::size_t(nFormat / 8);
    if (pData != nullptr && !bIncrement)
        bytes.insert(bytes.end(), pData, pData + nItems * nItemBytes);
    if (pData != nullptr)
        XFree(pData);
    return true;
}

bool CX11SelectionReader::Convert(Atom selection, Atom target, Time time,
                                  std::vector<unsigned char>& bytes, Atom& type)
{
    XDeleteProperty(m_pDisplay, m_window, m_property);
    XConvertSelection(m_pDisplay, selection, target, m_property, m_window, time);
    XFlush(m_pDisplay);
    XEvent event{};
    const auto isReply = [](const XEvent& e, Atom wanted) { return e.xselection.target == wanted; };
    if (!WaitFor(SelectionNotify, event, isReply, target) || event.xselection.property == None)
        return false;
    bool bIncrement = false;
    if (!ReadProperty(bytes, type, bIncrement))
        return false;
    if (!bIncrement)
        return true;
    // Increments: each new value of the property is the next chunk, an
    // empty one the end.
    const auto isNewValue = [](const XEvent& e, Atom property)
    { return e.xproperty.atom == property && e.xproperty.state == PropertyNewValue; };
    for (;;)
    {
        if (!WaitFor(PropertyNotify, event, isNewValue, m_property))
            return false;
        const std::size_t nBefore = bytes.size();
        bool bAgain = false;
        if (!ReadProperty(bytes, type, bAgain))
            return false;
        if (bytes.size() == nBefore)
            return true;
    }
}

void AnswerSelectionRequest(Display* pDisplay, const XSelectionRequestEvent& request, Atom property)
{
    XEvent reply{};
    reply.xselection.type = SelectionNotify;
    reply.xselection.display = pDisplay;
    reply.xselection.requestor = request.requestor;
    reply.xselection.selection = request.selection;
    reply.xselection.target = request.target;
    reply.xselection.property = property;
    reply.xselection.time = request.time;
    XSendEvent(pDisplay, request.requestor, False, NoEventMask, &reply);
    XFlush(pDisplay);
}
