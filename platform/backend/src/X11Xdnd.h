// What the two ends of an XDND drag share: the protocol's atoms (with the
// data kinds the layer exchanges), its messages and the mapping between its
// actions and drop effects.
#pragma once

#include "WinOle.h"

#include <X11/Xlib.h>

#include <array>

constexpr long kXdndVersion = 5;

enum enXdndAtom
{
    kXdndAware,
    kXdndEnter,
    kXdndPosition,
    kXdndStatus,
    kXdndLeave,
    kXdndDrop,
    kXdndFinished,
    kXdndSelection,
    kXdndTypeList,
    kXdndActionCopy,
    kXdndActionMove,
    kXdndActionLink,
    kUriList,
    kUtf8String,
    kTextPlainUtf8,
    kTextPlain,
    kXdndAtomCount
};

class CXdndAtoms
{
public:
    explicit CXdndAtoms(Display* pDisplay);

    Atom operator[](enXdndAtom atom) const { return m_atoms[atom]; }
    // Copy for anything but a move or a link, as the protocol's default.
    DWORD EffectOf(Atom action) const;
    Atom ActionOf(DWORD dwEffect) const;

private:
    std::array<Atom, kXdndAtomCount> m_atoms{};
};

// A protocol message to a window: l[0] names the sender's window.
void SendXdndMessage(Display* pDisplay, Window to, Atom type, Window from, long l1, long l2,
                     long l3, long l4);
