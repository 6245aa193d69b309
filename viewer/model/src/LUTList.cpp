#include "LUTList.h"

LUTList::~LUTList()
{
    RemoveAll();
}

bool LUTList::Add(DicomLookupTable* table)
{
    if (table == nullptr)
    {
        return false;
    }
    for (auto* node = m_Tables.GetHead(); node != nullptr; node = node->next)
    {
        if (node->item->IsEqual(table))
        {
            delete table;
            return false;
        }
    }
    m_Tables.AddTail(table);
    if (m_pCurrent == nullptr)
    {
        m_pCurrent = table;
    }
    return true;
}

void LUTList::RemoveAll()
{
    m_Tables.DeleteAll();
    m_pCurrent = nullptr;
}

void LUTList::CopyFrom(const LUTList& other)
{
    if (&other == this)
    {
        return;
    }
    RemoveAll();
    for (auto* node = other.m_Tables.GetHead(); node != nullptr; node = node->next)
    {
        DicomLookupTable* clone = node->item->Clone();
        m_Tables.AddTail(clone);
        if (node->item == other.m_pCurrent)
        {
            m_pCurrent = clone;
        }
    }
}

bool LUTList::SetCurrent(DicomLookupTable* table)
{
    if (table == nullptr || !m_Tables.Contains(table))
    {
        return false;
    }
    m_pCurrent = table;
    return true;
}

DicomLookupTable* LUTList::FindByType(std::uint32_t mask) const
{
    for (auto* node = m_Tables.GetHead(); node != nullptr; node = node->next)
    {
        if (node->item->HasType(mask))
        {
            return node->item;
        }
    }
    return nullptr;
}

bool LUTList::SelectByType(std::uint32_t mask)
{
    return SetCurrent(FindByType(mask));
}

void LUTList::TakeWindow(DicomLookupTable* table, int width, int center)
{
    if (width >= 1)
    {
        table->SetWindowLevel(width, center);
    }
}

DicomLookupTable* LUTList::ReuseOrCloneWindowTable()
{
    if (DicomLookupTable* reused = FindByType(DicomLookupTable::enWindowTable))
    {
        TakeWindow(reused, m_pCurrent->GetWindowWidth(), m_pCurrent->GetWindowCenter());
        return reused;
    }
    DicomLookupTable* source = FindByType(DicomLookupTable::enCloneable);
    if (source == nullptr)
    {
        return nullptr;
    }
    DicomLookupTable* clone = source->Clone();
    TakeWindow(clone, source->GetWindowWidth(), source->GetWindowCenter());
    m_Tables.AddTail(clone);
    return clone;
}

DicomLookupTable* LUTList::GetAdjustableLUT()
{
    if (m_pCurrent == nullptr)
    {
        return nullptr;
    }
    if (m_pCurrent->HasType(DicomLookupTable::enAdjustable))
    {
        return m_pCurrent;
    }
    // A VOI LUT or a sigmoid kind: the first window table of the sigmoid
    // kind takes over their window.
    if (m_pCurrent->HasType(DicomLookupTable::enVOIDerived) ||
        m_pCurrent->HasType(DicomLookupTable::enSigmoidKind))
    {
        if (DicomLookupTable* window = FindByType(DicomLookupTable::enWindowKind))
        {
            TakeWindow(window, m_pCurrent->GetWindowWidth(), m_pCurrent->GetWindowCenter());
            m_pCurrent = window;
            return window;
        }
    }
    // The chosen table is the window table that received the current
    // window or, failing one, the clone just appended: it becomes current
    // when it follows window and level. Otherwise the first table that does
    // is taken instead, and none leaves the current table as it was.
    DicomLookupTable* chosen = ReuseOrCloneWindowTable();
    if (chosen == nullptr || !chosen->HasType(DicomLookupTable::enAdjustable))
    {
        chosen = FindByType(DicomLookupTable::enAdjustable);
    }
    if (chosen != nullptr)
    {
        m_pCurrent = chosen;
    }
    return chosen;
}
