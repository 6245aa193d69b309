// Dynamic data exchange: a server that registers a service name, a client
// that opens conversations, and the conversation with its execute, request,
// poke and advise transactions. All of them work through one library-wide
// instance that is never initialised, so every call fails and reports the
// instance's last error in a "DDE Error" message box.
#pragma once

#include "AfxWin.h"
#include "WinDde.h"
#include "ZentiqExport.h"

class CDDEConnection;

// The base of server and client: its connections, which it owns.
class ZENTIQ_API CDDEObject : public CObject
{
public:
    CDDEObject();
    // Disconnects every connection, then deletes them.
    ~CDDEObject() override;
    CDDEObject(const CDDEObject&) = delete;
    CDDEObject& operator=(const CDDEObject&) = delete;

    CDDEConnection* FindConnection(HCONV hConv);
    // Takes the connection out of the list without deleting it.
    BOOL DeleteConnection(HCONV hConv);

    CString m_serviceName;
    CObList m_connections{10};

protected:
    friend class CDDEConnection;
    BOOL RemoveConnection(const CDDEConnection* pConnection);
};

class ZENTIQ_API CDDEServer : public CDDEObject
{
public:
    CDDEServer() = default;
    // Unregisters a registered name.
    ~CDDEServer() override;

    BOOL Create(const CString& serverName);
    virtual CDDEConnection* OnAcceptConnection(const CString& topic);
};

class ZENTIQ_API CDDEClient : public CDDEObject
{
public:
    CDDEClient() = default;
    // Deletes its connections.
    ~CDDEClient() override;

    // Null when no conversation starts; the host is not used.
    virtual CDDEConnection* MakeConnection(const CString& host, const CString& server,
                                           const CString& topic);
    virtual CDDEConnection* OnMakeConnection();
    BOOL ValidHost(const CString& host);
};

class ZENTIQ_API CDDEConnection : public CObject
{
public:
    // Requests are copied into the buffer given (at most size bytes) or, by
    // default, into one buffer of 4096 bytes all such connections share.
    CDDEConnection(char* buffer, int size);
    CDDEConnection();
    // Leaves the list of the server or client that holds it.
    ~CDDEConnection() override;
    CDDEConnection(const CDDEConnection&) = delete;
    CDDEConnection& operator=(const CDDEConnection&) = delete;

    // A negative size is the text's length; the terminating zero is sent.
    virtual BOOL Execute(char* data, int size = -1, int format = CF_TEXT);
    virtual BOOL Execute(const CString& str);
    virtual BOOL OnExecute(const CString& topic, char* data, int size, int format);
    // The buffer holding the data, null when nothing came.
    virtual char* Request(const CString& item, int* size = nullptr, int format = CF_TEXT);
    virtual char* OnRequest(const CString& topic, const CString& item, int* size, int format);
    virtual BOOL Poke(const CString& item, char* data, int size = -1, int format = CF_TEXT);
    virtual BOOL OnPoke(const CString& topic, const CString& item, char* data, int size,
                        int format);
    virtual BOOL StartAdvise(const CString& item);
    virtual BOOL OnStartAdvise(const CString& topic, const CString& item);
    virtual BOOL StopAdvise(const CString& item);
    virtual BOOL OnStopAdvise(const CString& topic, const CString& item);
    // Server side: keeps the data for the advise callback and posts it.
    virtual BOOL Advise(const CString& item, char* data, int size = -1, int format = CF_TEXT);
    virtual BOOL OnAdvise(const CString& topic, const CString& item, char* data, int size,
                          int format);
    // Leaves whichever DDE object holds it, then ends the conversation.
    virtual BOOL Disconnect();
    // Deletes the connection.
    virtual BOOL OnDisconnect();
    virtual void Notify(BOOL notify);

    char* m_bufPtr;
    int m_bufSize;
    CString m_topicName;
    CDDEServer* m_server = nullptr;
    CDDEClient* m_client = nullptr;
    HCONV m_hConv = nullptr;
    char* m_sendingData = nullptr;
    int m_dataSize = 0;
    int m_dataType = 0;

private:
    BOOL Transaction(char* data, int size, const CString* pItem, int format, UINT nType);
};
