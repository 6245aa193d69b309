#include "X11Xdnd.h"

#include <iterator>

namespace
{
const char* const kAtomNames[] = {
    "XdndAware",      "XdndEnter",      "XdndPosition",  "XdndStatus",   "XdndLeave",
    "XdndDrop",       "XdndFinished",   "XdndSelection", "XdndTypeList", "XdndActionCopy",
    "XdndActionMove", "XdndActionLink", "text/uri-list", "UTF8_STRING",  "text/plain;charset=utf-8",
    "text/plain"};
static_assert(std::size(kAtomNames) == kXdndAtomCount, "one name for every atom");
} // namespace

CXdndAtoms::CXdndAtoms(Display* pDisplay)
{
    XInternAtoms(pDisplay, const_cast<char**>(kAtomNames), kXdndAtomCount, False, m_atoms.data());
}

DWORD CXdndAtoms::EffectOf(Atom action) const
{
    if (action == m_atoms[kXdndActionMove])
        return DROPEFFECT_MOVE;
    if (action == m_atoms[kXdndActionLink])
        return DROPEFFECT_LINK;
    return DROPEFFECT_COPY;
}

Atom CXdndAtoms::ActionOf(DWORD dwEffect) const
{
    if (dwEffect & DROPEFFECT_MOVE)
        return m_atoms[kXdndActionMove];
    if (dwEffect & DROPEFFECT_LINK)
        return m_atoms[kXdndActionLink];
    return m_atoms[kXdndActionCopy];
}

void SendXdndMessage(Display* pDisplay, Window to, Atom type, Window from, long l1, long l2,
                     long l3, long l4)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.display = pDisplay;
    event.xclient.window = to;
    event.xclient.message_type = type;
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(from);
    event.xclient.data.l[1] = l1;
    event.xclient.data.l[2] = l2;
    event.xclient.data.l[3] = l3;
    event.xclient.data.l[4] = l4;
    XSendEvent(pDisplay, to, False, NoEventMask, &event);
    XFlush(pDisplay);
}
