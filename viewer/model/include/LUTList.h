// LUTList: the lookup tables of one MetaImage with one current table. The
// list owns its tables.
#pragma once

#include "Array.h"
#include "DicomLookupTable.h"

class QUILLON_API LUTList
{
public:
    LUTList() = default;
    ~LUTList();
    LUTList(const LUTList&) = delete;
    LUTList& operator=(const LUTList&) = delete;

    // Appends the table (ownership passes) unless an equal one is present,
    // in which case it is deleted and false returned. The first table
    // becomes current.
    bool Add(DicomLookupTable* table);
    // Deletes every table.
    void RemoveAll();
    // Replaces this list by clones of the other's tables, the clone of its
    // current table current.
    void CopyFrom(const LUTList& other);

    int GetCount() const { return m_Tables.GetCount(); }
    DicomLookupTable* GetAt(int index) const { return m_Tables.GetAt(index); }
    DicomLookupTable* GetCurrent() const { return m_pCurrent; }
    // False for a table that is not in the list.
    bool SetCurrent(DicomLookupTable* table);

    // The first table whose type holds every bit of the mask, or null.
    DicomLookupTable* FindByType(std::uint32_t mask) const;
    // Makes FindByType's table current; false when there is none.
    bool SelectByType(std::uint32_t mask);
    // The table that follows window and level, made current; null when the
    // list has none that can.
    DicomLookupTable* GetAdjustableLUT();

private:
    // Gives the table the window when the width is at least 1.
    static void TakeWindow(DicomLookupTable* table, int width, int center);
    // The table of step "reuse or clone": the first window table given the
    // current table's window, else a clone of the first cloneable table
    // given that table's window and appended; null when neither exists.
    DicomLookupTable* ReuseOrCloneWindowTable();

    Array<DicomLookupTable*> m_Tables;
    DicomLookupTable* m_pCurrent = nullptr;
};
