// The DDE classes over an instance nothing initialises: every call fails
// and says why in a "DDE Error" box; the objects keep their connections
// straight while they do.
#include "DDE.h"
#include "ControlTestSupport.h"
#include "ModalAnswers.h"

#include <string>

namespace
{
const char kNotInitialised[] =
    "A DDEML function was called without first calling the DdeInitialize function,\n\r"
    "or an invalid instance identifier was passed to a DDEML function.";

class DDETest : public testing::Test
{
protected:
    DDETest() { ClearModalRequests(); }
    ~DDETest() override { ClearModalRequests(); }

    // The error boxes shown since the last look.
    int TakeErrorBoxes()
    {
        int nBoxes = 0;
        for (const ModalRequest& request : GetModalRequests())
        {
            EXPECT_EQ(request.kind, enModalKind::MessageBox);
            EXPECT_EQ(request.caption, "DDE Error");
            EXPECT_EQ(request.text, kNotInitialised);
            EXPECT_EQ(request.nFlags & MB_ICONMASK, UINT(MB_ICONINFORMATION));
            EXPECT_EQ(request.hOwner, nullptr);
            ++nBoxes;
        }
        ClearModalRequests();
        return nBoxes;
    }

    CFailOnBlockHarness m_harness;
};

TEST_F(DDETest, ServerRegistrationFailsWithTheErrorBox)
{
    {
        CDDEServer server;
        EXPECT_FALSE(server.Create("Pelivo"));
        EXPECT_EQ(server.m_serviceName, CString("Pelivo"));
        EXPECT_EQ(TakeErrorBoxes(), 1);
    }
    EXPECT_EQ(TakeErrorBoxes(), 1) << "unregistering the name fails too";
    {
        CDDEServer unnamed;
    }
    EXPECT_EQ(TakeErrorBoxes(), 0) << "nothing to unregister";
}

TEST_F(DDETest, ClientConnectionFailsWithTheErrorBox)
{
    CDDEClient client;
    EXPECT_TRUE(client.ValidHost("anywhere"));
    EXPECT_EQ(client.MakeConnection("", "Pelivo", "System"), nullptr);
    EXPECT_EQ(TakeErrorBoxes(), 1);
    EXPECT_TRUE(client.m_connections.IsEmpty());
}

TEST_F(DDETest, EveryTransactionFailsWithTheErrorBox)
{
    CDDEClient client;
    auto* pConnection = new CDDEConnection;
    pConnection->m_client = &client;
    pConnection->m_topicName = "System";
    client.m_connections.AddTail(pConnection);
    char command[] = "[Open(\"a.dcm\")]";
    EXPECT_FALSE(pConnection->Execute(command));
    EXPECT_FALSE(pConnection->Execute(CString("[Close]")));
    int nSize = 99;
    EXPECT_EQ(pConnection->Request("Status", &nSize), nullptr);
    EXPECT_EQ(nSize, 99) << "nothing came";
    EXPECT_FALSE(pConnection->Poke("Status", command));
    EXPECT_FALSE(pConnection->StartAdvise("Status"));
    EXPECT_FALSE(pConnection->StopAdvise("Status"));
    EXPECT_EQ(TakeErrorBoxes(), 6);
    EXPECT_FALSE(pConnection->Advise("Status", command, 4, CF_TEXT));
    EXPECT_EQ(pConnection->m_sendingData, command);
    EXPECT_EQ(pConnection->m_dataSize, 5) << "with its terminating zero";
    EXPECT_EQ(pConnection->m_dataType, CF_TEXT);
    EXPECT_FALSE(pConnection->Advise("Status", command));
    EXPECT_EQ(pConnection->m_dataSize, int(sizeof(command))) << "a text's own length";
    EXPECT_EQ(TakeErrorBoxes(), 2);
}

TEST_F(DDETest, DisconnectLeavesTheOwnersListAndDestructionDeletesTheRest)
{
    auto* pServer = new CDDEServer;
    auto* pKept = new CDDEConnection;
    auto* pLeaving = new CDDEConnection;
    for (CDDEConnection* pConnection : {pKept, pLeaving})
    {
        pConnection->m_server = pServer;
        pServer->m_connections.AddTail(pConnection);
    }
    EXPECT_EQ(pServer->FindConnection(nullptr), pKept);
    EXPECT_FALSE(pLeaving->Disconnect());
    EXPECT_EQ(TakeErrorBoxes(), 1);
    EXPECT_EQ(pServer->m_connections.GetCount(), 1);
    EXPECT_EQ(pServer->m_connections.GetHead(), pKept);
    delete pLeaving;
    EXPECT_EQ(pServer->m_connections.GetCount(), 1) << "it had left already";
    EXPECT_TRUE(pServer->DeleteConnection(nullptr));
    EXPECT_TRUE(pServer->m_connections.IsEmpty());
    EXPECT_FALSE(pServer->DeleteConnection(nullptr));
    pServer->m_connections.AddTail(pKept);
    // The server disconnects (and reports) every connection, then deletes it.
    delete pServer;
    EXPECT_EQ(TakeErrorBoxes(), 1);

    auto* pClient = new CDDEClient;
    auto* pOwned = new CDDEConnection;
    pOwned->m_client = pClient;
    pClient->m_connections.AddTail(pOwned);
    delete pClient;
    EXPECT_EQ(TakeErrorBoxes(), 0) << "a client deletes its connections without disconnecting";
}

TEST_F(DDETest, RequestsUseTheirOwnBufferOrTheSharedOne)
{
    char buffer[16] = {};
    CDDEConnection own(buffer, sizeof(buffer));
    CDDEConnection first;
    CDDEConnection second;
    EXPECT_EQ(own.m_bufPtr, buffer);
    EXPECT_EQ(own.m_bufSize, 16);
    EXPECT_EQ(first.m_bufSize, 4096);
    EXPECT_EQ(first.m_bufPtr, second.m_bufPtr);
    EXPECT_FALSE(first.OnExecute("System", buffer, 1, CF_TEXT));
    EXPECT_EQ(first.OnRequest("System", "Status", nullptr, CF_TEXT), nullptr);
    EXPECT_TRUE((new CDDEConnection)->OnDisconnect()) << "deletes itself";
}
} // namespace
