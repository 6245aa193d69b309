// The cause an action's MFC exception carries, for tests of the causes the
// file and archive classes report.
#pragma once

// The m_cause of the TException the action throws (the exception is deleted),
// or -1 when it throws none.
template <typename TException, typename TAction> int GetThrownCause(TAction action)
{
    try
    {
        action();
    }
    catch (TException* e)
    {
        const int cause = e->m_cause;
        e->Delete();
        return cause;
    }
    return -1;
}
