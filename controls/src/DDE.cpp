// The DDE classes over the platform's DDE calls.
#include "DDE.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace
{
// Nothing initialises the instance: every call is made with instance 0.
DWORD g_idInst = 0;
constexpr DWORD kTimeout = 5000;
constexpr int kSharedBufferSize = 4096;

std::vector<CDDEObject*>& DDEObjects()
{
    static std::vector<CDDEObject*> objects;
    return objects;
}

char* SharedBuffer()
{
    static std::unique_ptr<char[]> buffer(new char[kSharedBufferSize]());
    return buffer.get();
}

// String handles are made once per text and kept for the process's life.
HSZ DDEAtomFromString(const CString& text)
{
    static std::map<std::string, HSZ> atoms;
    const std::string key(text);
    if (const auto found = atoms.find(key); found != atoms.end())
        return found->second;
    const HSZ hsz = DdeCreateStringHandleA(g_idInst, text, CP_WINANSI);
    if (hsz != nullptr)
        atoms.emplace(key, hsz);
    return hsz;
}

const char* DDEErrorText(UINT nError)
{
    switch (nError)
    {
    case DMLERR_ADVACKTIMEOUT:
        return "A request for a synchronous advise transaction has timed out.";
    case DMLERR_BUSY:
        return "The response to the transaction caused the DDE_FBUSY bit to be set.";
    case DMLERR_DATAACKTIMEOUT:
        return "A request for a synchronous data transaction has timed out.";
    case DMLERR_DLL_NOT_INITIALIZED:
        return "A DDEML function was called without first calling the DdeInitialize function,"
               "\n\ror an invalid instance identifier was passed to a DDEML function.";
    case DMLERR_DLL_USAGE:
        return "An application initialized as APPCLASS_MONITOR has\n\rattempted to perform a DDE "
               "transaction,\n\ror an application initialized as APPCMD_CLIENTONLY has \n\r"
               "attempted to perform server transactions.";
    case DMLERR_EXECACKTIMEOUT:
        return "A request for a synchronous execute transaction has timed out.";
    case DMLERR_INVALIDPARAMETER:
        return "A parameter failed to be validated by the DDEML.";
    case DMLERR_LOW_MEMORY:
        return "A DDEML application has created a prolonged race condition.";
    case DMLERR_MEMORY_ERROR:
        return "A memory allocation failed.";
    case DMLERR_NOTPROCESSED:
        return "A transaction failed.";
    case DMLERR_NO_CONV_ESTABLISHED:
        return "A client's attempt to establish a conversation has failed.";
    case DMLERR_POKEACKTIMEOUT:
        return "A request for a synchronous poke transaction has timed out.";
    case DMLERR_POSTMSG_FAILED:
        return "An internal call to the PostMessage function has failed. ";
    case DMLERR_REENTRANCY:
        return "Reentrancy problem.";
    case DMLERR_SERVER_DIED:
        return "A server-side transaction was attempted on a conversation\n\rthat was terminated "
               "by the client, or the server\n\rterminated before completing a transaction.";
    case DMLERR_SYS_ERROR:
        return "An internal error has occurred in the DDEML.";
    case DMLERR_UNADVACKTIMEOUT:
        return "A request to end an advise transaction has timed out.";
    case DMLERR_UNFOUND_QUEUE_ID:
        return "An invalid transaction identifier was passed to a DDEML function.\n\rOnce the "
               "application has returned from an XTYP_XACT_COMPLETE callback,\n\rthe transaction "
               "identifier for that callback is no longer valid.";
    default:
        return "Unrecognised error type.";
    }
}

void DDEPrintError()
{
    MessageBoxA(nullptr, DDEErrorText(DdeGetLastError(g_idInst)), "DDE Error", MB_ICONINFORMATION);
}

BOOL Reported(BOOL bOk)
{
    if (!bOk)
        DDEPrintError();
    return bOk;
}

// The bytes sent for data of the given size: a negative size is the text's
// length; the terminating zero goes with it.
int SentSize(const char* data, int size)
{
    return (size < 0 ? int(std::strlen(data)) : size) + 1;
}
} // namespace

// ---------------------------------------------------------------- objects

CDDEObject::CDDEObject()
{
    DDEObjects().push_back(this);
}

CDDEObject::~CDDEObject()
{
    std::vector<CDDEConnection*> connections;
    for (POSITION pos = m_connections.GetHeadPosition(); pos != nullptr;)
        connections.push_back(static_cast<CDDEConnection*>(m_connections.GetNext(pos)));
    for (CDDEConnection* pConnection : connections)
        pConnection->Disconnect();
    for (CDDEConnection* pConnection : connections)
        delete pConnection;
    auto& objects = DDEObjects();
    objects.erase(std::remove(objects.begin(), objects.end(), this), objects.end());
}

CDDEConnection* CDDEObject::FindConnection(HCONV hConv)
{
    for (POSITION pos = m_connections.GetHeadPosition(); pos != nullptr;)
    {
        auto* pConnection = static_cast<CDDEConnection*>(m_connections.GetNext(pos));
        if (pConnection->m_hConv == hConv)
            return pConnection;
    }
    return nullptr;
}

BOOL CDDEObject::DeleteConnection(HCONV hConv)
{
    return RemoveConnection(FindConnection(hConv));
}

BOOL CDDEObject::RemoveConnection(const CDDEConnection* pConnection)
{
    const POSITION pos = m_connections.Find(const_cast<CDDEConnection*>(pConnection));
    if (pConnection == nullptr || pos == nullptr)
        return FALSE;
    m_connections.RemoveAt(pos);
    return TRUE;
}

CDDEServer::~CDDEServer()
{
    if (!m_serviceName.IsEmpty())
        Reported(DdeNameService(g_idInst, DDEAtomFromString(m_serviceName), nullptr,
                                DNS_UNREGISTER) != nullptr);
}

BOOL CDDEServer::Create(const CString& serverName)
{
    m_serviceName = serverName;
    return Reported(
        DdeNameService(g_idInst, DDEAtomFromString(serverName), nullptr, DNS_REGISTER) != nullptr);
}

CDDEConnection* CDDEServer::OnAcceptConnection(const CString&)
{
    return new CDDEConnection;
}

CDDEClient::~CDDEClient()
{
    while (!m_connections.IsEmpty())
        delete static_cast<CDDEConnection*>(m_connections.RemoveHead());
}

CDDEConnection* CDDEClient::MakeConnection(const CString&, const CString& server,
                                           const CString& topic)
{
    const HCONV hConv =
        DdeConnect(g_idInst, DDEAtomFromString(server), DDEAtomFromString(topic), nullptr);
    if (hConv == nullptr)
    {
        DDEPrintError();
        return nullptr;
    }
    CDDEConnection* pConnection = OnMakeConnection();
    if (pConnection != nullptr)
    {
        pConnection->m_hConv = hConv;
        pConnection->m_topicName = topic;
        pConnection->m_client = this;
        m_connections.AddTail(pConnection);
    }
    return pConnection;
}

CDDEConnection* CDDEClient::OnMakeConnection()
{
    return new CDDEConnection;
}

BOOL CDDEClient::ValidHost(const CString&)
{
    return TRUE;
}

// ---------------------------------------------------------------- connections

CDDEConnection::CDDEConnection(char* buffer, int size) : m_bufPtr(buffer), m_bufSize(size) {}

CDDEConnection::CDDEConnection() : m_bufPtr(SharedBuffer()), m_bufSize(kSharedBufferSize) {}

CDDEConnection::~CDDEConnection()
{
    if (m_server != nullptr)
        m_server->RemoveConnection(this);
    if (m_client != nullptr)
        m_client->RemoveConnection(this);
}

BOOL CDDEConnection::Transaction(char* data, int size, const CString* pItem, int format, UINT nType)
{
    DWORD dwResult = 0;
    const HDDEDATA hData =
        DdeClientTransaction(reinterpret_cast<LPBYTE>(data), DWORD(size), m_hConv,
                             pItem != nullptr ? DDEAtomFromString(*pItem) : nullptr, UINT(format),
                             nType, kTimeout, &dwResult);
    return Reported(hData != nullptr);
}

BOOL CDDEConnection::Execute(char* data, int size, int format)
{
    return Transaction(data, SentSize(data, size), nullptr, format, XTYP_EXECUTE);
}

BOOL CDDEConnection::Execute(const CString& str)
{
    std::string text(str);
    return Execute(text.data(), -1, CF_TEXT);
}

char* CDDEConnection::Request(const CString& item, int* size, int format)
{
    DWORD dwResult = 0;
    const HDDEDATA hData = DdeClientTransaction(nullptr, 0, m_hConv, DDEAtomFromString(item),
                                                UINT(format), XTYP_REQUEST, kTimeout, &dwResult);
    if (!Reported(hData != nullptr))
        return nullptr;
    const DWORD dwLength =
        DdeGetData(hData, reinterpret_cast<LPBYTE>(m_bufPtr), DWORD(m_bufSize), 0);
    DdeFreeDataHandle(hData);
    if (size != nullptr)
        *size = int(dwLength);
    return dwLength != 0 ? m_bufPtr : nullptr;
}

BOOL CDDEConnection::Poke(const CString& item, char* data, int size, int format)
{
    return Transaction(data, SentSize(data, size), &item, format, XTYP_POKE);
}

BOOL CDDEConnection::StartAdvise(const CString& item)
{
    return Transaction(nullptr, 0, &item, CF_TEXT, XTYP_ADVSTART);
}

BOOL CDDEConnection::StopAdvise(const CString& item)
{
    return Transaction(nullptr, 0, &item, CF_TEXT, XTYP_ADVSTOP);
}

BOOL CDDEConnection::Advise(const CString& item, char* data, int size, int format)
{
    m_sendingData = data;
    m_dataSize = SentSize(data, size);
    m_dataType = format;
    return Reported(
        DdePostAdvise(g_idInst, DDEAtomFromString(m_topicName), DDEAtomFromString(item)));
}

BOOL CDDEConnection::Disconnect()
{
    for (CDDEObject* pObject : DDEObjects())
        if (pObject->RemoveConnection(this))
            break;
    return Reported(DdeDisconnect(m_hConv));
}

BOOL CDDEConnection::OnDisconnect()
{
    delete this;
    return TRUE;
}

BOOL CDDEConnection::OnExecute(const CString&, char*, int, int)
{
    return FALSE;
}

char* CDDEConnection::OnRequest(const CString&, const CString&, int*, int)
{
    return nullptr;
}

BOOL CDDEConnection::OnPoke(const CString&, const CString&, char*, int, int)
{
    return FALSE;
}

BOOL CDDEConnection::OnStartAdvise(const CString&, const CString&)
{
    return FALSE;
}

BOOL CDDEConnection::OnStopAdvise(const CString&, const CString&)
{
    return FALSE;
}

BOOL CDDEConnection::OnAdvise(const CString&, const CString&, char*, int, int)
{
    return FALSE;
}

void CDDEConnection::Notify(BOOL) {}
