// SAMP: the XML-RPC texts, the hub's lock file, and the program against a
// real hub (astropy's, in a child process with its lock file in a temporary
// HOME) and a Python client that sends spectra and receives one.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QTest>
#include <chrono>
#include <functional>
#include <set>

#include "app/samp_client.h"
#include "app/samp_hub_lock.h"
#include "app/samp_receive.h"
#include "app/samp_send.h"
#include "app/samp_xmlrpc.h"
#include "tests/support/fits_writer.h"
#include "tests/support/recording_ui.h"
#include "tests/support/temp_folder.h"

namespace wendrel {
namespace {

TEST(SampXmlRpc, NestedValuesGoAndComeBackAndMalformedCallsAreRefused) {
    const RpcCall call{"samp.client.receiveCall",
                       {"key <&>", RpcList{"a", RpcMap{{"x", "1"}, {"y", RpcList{}}}}, RpcMap{{"e", RpcMap{}}}}};
    const RpcParsed<RpcCall> read = ParseRpcCall(RpcCallText(call));
    ASSERT_EQ(read.error, "");
    EXPECT_EQ(read.result.method, call.method);
    EXPECT_EQ(read.result.params, call.params);

    const RpcParsed<RpcResponse> fault = ParseRpcResponse(RpcFaultText(3, "no key"));
    EXPECT_TRUE(fault.result.fault);
    EXPECT_EQ(fault.result.faultCode, 3);
    EXPECT_EQ(fault.result.faultText, "no key");
    EXPECT_EQ(ParseRpcResponse(RpcResponseText(RpcMap{{"k", "v"}})).result.value, (RpcValue(RpcMap{{"k", "v"}})));
    // Untyped and other scalar values are their text.
    EXPECT_EQ(ParseRpcCall("<methodCall><methodName>m</methodName><params><param><value> t </value></param>"
                           "<param><value><i4>7</i4></value></param></params></methodCall>")
                  .result.params,
              (RpcList{" t ", "7"}));

    std::string deep = "<methodCall><methodName>m</methodName><params><param>";
    for (int i = 0; i < 40; ++i) deep += "<value><array><data>";
    const std::string malformed[] = {
        "",
        "<methodCall>",
        "<?xml version='1.0'?><!DOCTYPE a [<!ENTITY x 'y'>]><methodCall><methodName>&x;</methodName></methodCall>",
        "<methodCall><methodName>m</methodName><params><param><value><blob/></value></param></params></methodCall>",
        "<methodCall><methodName>m</methodName></methodCall><extra/>",
        "<methodCall>text<methodName>m</methodName></methodCall>",
        "<methodCall><methodName></methodName></methodCall>",
        "<methodCall><methodName>m</methodName><params><param><value>x<string>y</string></value></param></params>"
        "</methodCall>",
        deep,
        "\xff\xfe<methodCall/>",
    };
    for (const std::string& text : malformed) EXPECT_NE(ParseRpcCall(text).error, "") << text;
}

TEST(SampHubLock, SampHubOrHomeNameTheLockFileAndItsKeysAreRead) {
    std::string error;
    EXPECT_EQ(HubLockPath(nullptr, "/home/a", error), "/home/a/.samp");
    EXPECT_EQ(HubLockPath("std-lockurl:file:///tmp/x%20y/lock", "/home/a", error), "/tmp/x y/lock");
    EXPECT_EQ(error, "");
    HubLockPath("std-lockurl:http://example.org/lock", "/home/a", error);
    EXPECT_NE(error, "");
    const HubAddress hub = ParseHubLock("# comment\nsamp.secret = s3\r\nsamp.hub.xmlrpc.url=http://127.0.0.1:5/\nx\n");
    EXPECT_EQ(hub.secret, "s3");
    EXPECT_EQ(hub.xmlrpcUrl, "http://127.0.0.1:5/");
}

// Waits with the event loop running until `done` holds or the time is up.
bool WaitFor(const std::function<bool()>& done, int milliseconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        QTest::qWait(20);
    }
    return true;
}

QCoreApplication& Application() {
    static int argc = 1;
    static char name[] = "tests_app";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
    return app ? *app : *QCoreApplication::instance();
}

const char* const kHubScript = R"(
import sys
from astropy import log
from astropy.samp import SAMPHubServer, conf
log.setLevel('WARNING')
conf.use_internet = False
hub = SAMPHubServer(web_profile=False, addr='127.0.0.1')
hub.start(wait=False)
print('hub', flush=True)
sys.stdin.readline()
hub.stop()
)";

// Serves /table.fits, a page, a file that announces too many bytes, one that sends too many without
// announcing them, one that answers slowly and one that is missing; sends the program seven calls and
// prints each reply; then waits for a spectrum sent to it and to a second client that takes only tables.
const char* const kClientScript = R"(
import os, sys, threading, time, http.server
from astropy import log
from astropy.samp import SAMPIntegratedClient, conf
log.setLevel('WARNING')
conf.use_internet = False
folder = sys.argv[1]
class Files(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        if self.path == '/slow':
            time.sleep(4)
        if self.path == '/endless':
            self.send_response(200)
            self.end_headers()
            try:
                for _ in range(64):
                    self.wfile.write(b'SIMPLE' * 10000)
            except OSError:
                pass
            return
        body = open(os.path.join(folder, 'star.fits'), 'rb').read() if self.path == '/table.fits' else b'<html></html>'
        self.send_response(404 if self.path == '/gone.fits' else 200)
        self.send_header('Content-Length', str(5000000 if self.path == '/big' else len(body)))
        self.end_headers()
        try:
            self.wfile.write(body)
        except OSError:
            pass
    def log_message(self, *args):
        pass
server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), Files)
threading.Thread(target=server.serve_forever, daemon=True).start()
web = 'http://127.0.0.1:%d' % server.server_address[1]
got = []
client = SAMPIntegratedClient(name='tester', addr='127.0.0.1')
client.connect()
client.bind_receive_notification('spectrum.load.ssa-generic',
    lambda private_key, sender_id, mtype, params, extra: got.append((mtype, params)))
tables = SAMPIntegratedClient(name='tables only', addr='127.0.0.1')
tables.connect()
tables.bind_receive_notification('table.load.fits',
    lambda private_key, sender_id, mtype, params, extra: got.append((mtype, params)))
wendrel = [c for c in client.get_registered_clients() if client.get_metadata(c).get('samp.name') == 'Wendrel'][0]
assert open(client.get_metadata(wendrel)['samp.icon.url'][len('file://'):], 'rb').read(4) == b'\x89PNG'
def send(mtype, params):
    reply = client.call_and_wait(wendrel, {'samp.mtype': mtype, 'samp.params': params}, '20')
    print(mtype, params.get('name'), reply['samp.status'], reply.get('samp.error', {}).get('samp.errortxt', ''), flush=True)
send('spectrum.load.ssa-generic', {'url': 'file://' + os.path.join(folder, 'star.fits'), 'name': 'Vega B', 'meta': {}})
send('table.load.fits', {'url': web + '/table.fits', 'name': 'over the web'})
send('spectrum.load.ssa-generic', {'url': web + '/slow', 'name': 'slow'})
send('spectrum.load.ssa-generic', {'url': web + '/big', 'name': 'big'})
send('image.load.fits', {'url': web + '/page.html', 'name': 'page'})
send('table.load.fits', {'url': web + '/gone.fits', 'name': 'gone'})
send('table.load.fits', {'url': web + '/endless', 'name': 'endless'})
print('ready', flush=True)
for _ in range(200):
    if len(got) == 2:
        break
    time.sleep(0.05)
for mtype, params in sorted(got):
    print('got', mtype, params['name'], open(params['url'][len('file://'):], 'rb').read(6).decode(), flush=True)
client.disconnect()
tables.disconnect()
)";

class SampWithHub : public ::testing::Test {
protected:
    void SetUp() override {
        Application();
        if (!QFile::exists(WENDREL_PYTHON)) GTEST_SKIP() << "no Python at " << WENDREL_PYTHON;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", QString::fromStdString(home_.path().string()));
        environment.remove("SAMP_HUB");
        hub_.setProcessEnvironment(environment);
        peer_.setProcessEnvironment(environment);
        hub_.start(WENDREL_PYTHON, {"-c", kHubScript});
        ASSERT_TRUE(WaitFor([&] { return hub_.canReadLine() || hub_.state() == QProcess::NotRunning; }, 30000));
        ASSERT_EQ(hub_.readLine().trimmed(), "hub") << hub_.readAllStandardError().toStdString();
        qputenv("SAMP_HUB", ("std-lockurl:file://" + (home_.path() / ".samp").string()).c_str());
    }
    void TearDown() override {
        for (QProcess* process : {&peer_, &hub_}) {
            if (process->state() == QProcess::NotRunning) continue;
            process->kill();
            process->waitForFinished(5000);
        }
        qunsetenv("SAMP_HUB");
    }

    testing::TempFolder home_;
    QProcess hub_, peer_;
};

QByteArray Post(const QString& url, const QByteArray& body) {
    QNetworkAccessManager network;
    QNetworkRequest request{QUrl(url)};
    request.setHeader(QNetworkRequest::ContentTypeHeader, "text/xml");
    request.setTransferTimeout(5000);
    QNetworkReply* reply = network.post(request, body);
    WaitFor([&] { return reply->isFinished(); }, 6000);
    const QByteArray answer = reply->readAll();
    delete reply;
    return answer;
}

TEST_F(SampWithHub, SpectraAreReceivedAndSentAndCallsWithoutTheKeyAreRefused) {
    Workspace ws;
    testing::RecordingUi ui;
    SampClient client;
    SampReceiver receiver(ws, ui, client, FetchLimits{1 << 20, 2000});
    client.Connect(FindHub());
    ASSERT_TRUE(WaitFor([&] { return client.state() != SampClient::State::Connecting; }, 15000));
    ASSERT_EQ(client.state(), SampClient::State::Connected) << client.StatusText().toStdString();

    // The program's server answers only calls that carry its key, and well-formed ones.
    const QByteArray noKey = QByteArray::fromStdString(RpcCallText(
        {"samp.client.receiveNotification", {"wrong", "x", RpcMap{{"samp.mtype", "samp.app.ping"}}}}));
    EXPECT_TRUE(ParseRpcResponse(Post(client.CallbackUrl(), noKey).toStdString()).result.fault);
    EXPECT_TRUE(ParseRpcResponse(Post(client.CallbackUrl(), "<methodCall><params>").toStdString()).result.fault);
    EXPECT_TRUE(client.CallbackUrl().startsWith("http://127.0.0.1:"));

    WriteFileBytes(home_.path() / "star.fits", SpectrumBytes({-32, {1, 2, 3, 4, 3, 2}, {}, {}, "HD 1", 4000, 1, {}}));
    peer_.start(WENDREL_PYTHON, {"-c", kClientScript, QString::fromStdString(home_.path().string())});
    std::vector<std::string> lines;
    const auto readLines = [&] {
        while (peer_.canReadLine()) lines.push_back(peer_.readLine().trimmed().toStdString());
        return !lines.empty() && lines.back() == "ready";
    };
    ASSERT_TRUE(WaitFor([&] { return readLines() || peer_.state() == QProcess::NotRunning; }, 60000))
        << peer_.readAllStandardError().toStdString();
    ASSERT_EQ(lines.size(), 8u) << peer_.readAllStandardError().toStdString();
    EXPECT_EQ(lines[0], "spectrum.load.ssa-generic Vega B samp.ok");
    EXPECT_EQ(lines[1], "table.load.fits over the web samp.ok");
    EXPECT_EQ(lines[2], "spectrum.load.ssa-generic slow samp.error slow: it did not arrive within 2 seconds.");
    EXPECT_EQ(lines[3], "spectrum.load.ssa-generic big samp.error big: it announces more than 1048576 bytes.");
    EXPECT_EQ(lines[4], "image.load.fits page samp.error page: it is a web page or XML document, not a spectrum.");
    EXPECT_EQ(lines[5], "table.load.fits gone samp.error gone: the server answered with HTTP status 404.");
    EXPECT_EQ(lines[6], "table.load.fits endless samp.error endless: it is larger than 1048576 bytes.");
    EXPECT_EQ(ws.slot(1)->FileName, "Vega B");
    EXPECT_EQ(ws.slot(2)->FileName, "over the web");
    EXPECT_FALSE(ws.slot(3).Loaded());
    EXPECT_EQ(ui.messages.size(), 5u);  // one for each refusal

    // Row 1 goes, as a FITS table, to the client that takes spectra and to the one that takes only tables.
    ASSERT_TRUE(WaitFor([&] { return client.peers().size() == 2; }, 10000));
    std::set<std::string> names;
    for (const SampPeer& peer : client.peers()) names.insert(peer.name + (peer.spectra ? " (spectra)" : ""));
    EXPECT_EQ(names, (std::set<std::string>{"tester (spectra)", "tables only"}));
    SampOutbox outbox;
    std::string error;
    const std::filesystem::path sent = outbox.Write(ws, 1, error);
    ASSERT_EQ(error, "");
    EXPECT_EQ(client.SendFits({}, QUrl::fromLocalFile(QString::fromStdString(sent.string())).toString(), "Vega B"), 2);
    ASSERT_TRUE(WaitFor([&] { readLines(); return peer_.state() == QProcess::NotRunning; }, 20000));
    readLines();
    ASSERT_EQ(lines.size(), 10u) << peer_.readAllStandardError().toStdString();
    EXPECT_EQ(lines[8], "got spectrum.load.ssa-generic Vega B SIMPLE");
    EXPECT_EQ(lines[9], "got table.load.fits Vega B SIMPLE");

    // A hub that shuts down leaves the program disconnected.
    hub_.write("stop\n");
    EXPECT_TRUE(WaitFor([&] { return client.state() == SampClient::State::Disconnected; }, 20000));
}

TEST_F(SampWithHub, AHubThatDiesUnannouncedShowsDisconnectedAtTheNextCall) {
    SampClient client;
    client.Connect(FindHub());
    ASSERT_TRUE(WaitFor([&] { return client.state() != SampClient::State::Connecting; }, 15000));
    ASSERT_EQ(client.state(), SampClient::State::Connected) << client.StatusText().toStdString();
    hub_.kill();
    ASSERT_TRUE(hub_.waitForFinished(5000));
    client.Reply("msg-1", true);
    EXPECT_TRUE(WaitFor([&] { return client.state() == SampClient::State::Disconnected; }, 15000));
    EXPECT_EQ(client.StatusText(), "The SAMP hub stopped answering, so the program is disconnected.");
}

TEST(SampReceive, AMessageWhileEveryRowIsFullIsRefusedWithOneMessage) {
    Application();
    Workspace ws;
    for (int slot = 1; slot <= kMaxSlots; ++slot) ws.slot(slot).Data = std::make_shared<Spectrum>();
    testing::RecordingUi ui;
    SampClient client;
    SampReceiver receiver(ws, ui, client);
    receiver.Receive({"c1", "", kSpectrumMtype, RpcMap{{"url", "file:///nowhere/x.fits"}, {"name", "x.fits"}}});
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], "x.fits: every row is full, so the spectrum was not loaded.");
    receiver.Receive({"c1", "", kSpectrumMtype, RpcMap{{"name", "y"}}});
    EXPECT_EQ(ui.messages.back(), "The spectrum.load.ssa-generic message holds no valid url.");
}

}  // namespace
}  // namespace wendrel
