// The window's longest stall (a 5 ms timer's largest gap) while the counter
// puts out a large thermal job, looks at the jobs left on their records, and
// stores a quantity with the server out of reach. Part of `selvar-bench window`.
#include "WindowPrintBench.h"

#include "BenchList.h"
#include "HandOverFlow.h"
#include "HandOverIdle.h"
#include "ListWindow.h"
#include "PrintHandOver.h"
#include "PrivateServer.h"
#include "ProcessStarter.h"
#include "ProjectParser.h"
#include "RunValues.h"
#include "ServerListWindow.h"
#include "StallProbe.h"
#include "TFormSelvarra.h"
#include "ThermalJournal.h"
#include "ThermalJournalCache.h"
#include "ThermalOutput.h"
#include "ThermalReportFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>

namespace {

// The station's work folder with a batch file, runs that end at once, and
// the printer path a plain file: what is timed is the program's own work.
QString readyForThermal(ListWindow &window)
{
    const QString folder = window.app.suite.path(QStringLiteral("Interfac01"));
    QDir().mkpath(folder);
    QFile batch(QDir(folder).filePath(QStringLiteral("ImprEtiq.bat")));
    batch.open(QIODevice::WriteOnly);
    RunValues::LabelPrinterPath = window.app.suite.path(QStringLiteral("impressora.prn"));
    return folder;
}

} // namespace

bool benchThermalJobWindow(QTextStream &out)
{
    ListWindow window;
    if (!window.start(QStringLiteral("02")) || !openListOf(window, 1000, 10))
        return false;
    readyForThermal(window);
    int runs = 0;
    const ProcessStarter::Starter previous = ProcessStarter::setStarter([&runs](const QString &, const QStringList &) {
        ++runs;
        return true;
    });
    TFormSelvarra *f = window.form();
    QElapsedTimer clock;
    qint64 filesWrittenMs = -1;
    // The first file goes to the batch file once every file of the job is written.
    QObject::connect(f->printHandOver, &PrintHandOver::sending, f, [&](int file, int) {
        if (file == 1 && filesWrittenMs < 0)
            filesWrittenMs = clock.elapsed();
    });
    QSignalSpy ended(f, &TFormSelvarra::printEnded);
    StallProbe probe;
    probe.start();
    clock.start();
    QTest::mouseClick(f->btnEtiqSemPreco, Qt::LeftButton);
    if (ended.isEmpty() && !ended.wait(600000))
        qFatal("the print did not end");
    if (!waitUntilIdle(*f->printHandOver, 600000))
        qFatal("the hand-over did not end");
    const qint64 stall = probe.stop();
    const qint64 handedOverMs = clock.elapsed();
    ProcessStarter::setStarter(previous);
    if (runs != 3334 || !window.app.messages.isEmpty())
        qFatal("%d files handed over; messages: %s", runs, qPrintable(window.app.messages.join(QLatin1Char('|'))));
    out << "thermal_10000_labels_click_to_last_file_written_ms: " << filesWrittenMs << Qt::endl;
    out << "thermal_10000_labels_click_to_handed_over_ms: " << handedOverMs << " (3,334 files, batch runs that end at once)"
        << Qt::endl;
    out << "thermal_10000_labels_longest_stall_ms: " << stall << Qt::endl;
    return true;
}

namespace {

// A thermal report's 1,000 labels with a logo of 300 x 100 dots, one across.
QList<QByteArray> logoLabelFiles(const QString &folder, QList<int> *labels)
{
    QImage logo(600, 200, QImage::Format_RGB32);
    logo.fill(Qt::white);
    QPainter painter(&logo);
    painter.setBrush(Qt::darkGreen);
    painter.drawEllipse(QRect(10, 10, 180, 180));
    painter.end();
    logo.save(QDir(folder).filePath(QStringLiteral("logo.png")));
    const ReportProject project = parseReportProject(
        QStringLiteral("ativo \"F\"\nrelatorio \"F\"\n papel A4\n grade colunas=1 linhas=1\n margens esquerda=0 topo=0\n etiqueta largura=50 altura=30\nfim\n"
                       "relatorio \"L\"\n termica linguagem=EPL2\n etiqueta largura=50 altura=30\n"
                       " imagem \"logo.png\" x=1 y=1 largura=37.5 altura=12.5\n"
                       " campo COMPONENTE x=1 y=15 largura=48 altura=4 tamanho=8\n"
                       " barras CODIGOEAN x=1 y=20 largura=30 altura=9\nfim\n"),
        QDir(folder).filePath(QStringLiteral("Selvar.rav")));
    QList<LabelRecord> rows;
    for (int n = 1; n <= 1000; ++n) {
        LabelRecord row;
        row.set(QStringLiteral("COMPONENTE"), {QStringLiteral("PRODUTO DE REVENDA %1").arg(n), {}});
        row.set(QStringLiteral("CODIGOEAN"), {QStringLiteral("7891000315507"), QStringLiteral("7891000315507")});
        rows << row;
    }
    return thermalCommandFiles(*project.findReport(QStringLiteral("L")), rows, QPointF(), labels);
}

} // namespace

bool benchJournalScanWindow(QTextStream &out)
{
    ListWindow window;
    if (!window.start(QStringLiteral("02")) || !openListOf(window, 10, 1))
        return false;
    const QString folder = readyForThermal(window);
    QTemporaryDir pictures;
    QList<int> labels;
    const QList<QByteArray> files = logoLabelFiles(pictures.path(), &labels);
    const ThermalOutput thermal(RunValues::WorkFolder(), RunValues::LabelPrinterPath);
    qint64 bytes = 0;
    QStringList records;
    for (int job = 0; job < 20; ++job) {
        PrintJob print = thermal.job(files, labels);
        print.history = QByteArray(200, 'h');
        if (!ThermalJournal::create(print).isEmpty() || !ThermalJournal::markStarted(print.journal, 1).isEmpty()
            || !ThermalJournal::markDone(print.journal, 1).isEmpty())
            qFatal("the records could not be written");
        records << print.journal;
        bytes += QFileInfo(print.journal).size();
    }
    // As a program started again finds them: read from disk at its first look.
    for (const QString &record : records)
        ThermalJournalCache::forget(record);
    TFormSelvarra *f = window.form();
    const auto look = [f] {
        StallProbe probe;
        probe.start();
        QElapsedTimer clock;
        clock.start();
        f->handOverFlow()->refreshOffer(); // what every show of the list does
        const qint64 ms = clock.elapsed();
        QTest::qWait(20);
        return std::make_pair(ms, probe.stop());
    };
    const auto [firstMs, firstStall] = look();
    if (!f->BotContinuarEnvio->text().endsWith(QLatin1String("e mais 19 trabalhos")))
        qFatal("the offer reads \"%s\"", qPrintable(f->BotContinuarEnvio->text()));
    qint64 nextMs = 0;
    qint64 nextStall = 0;
    for (int i = 0; i < 5; ++i) {
        const auto [ms, stall] = look();
        nextMs = std::max(nextMs, ms);
        nextStall = std::max(nextStall, stall);
    }
    // Every record read whole, files and all, as every look did before.
    QElapsedTimer whole;
    whole.start();
    for (const QString &record : records)
        if (!ThermalJournal::load(record))
            qFatal("a record could not be read");
    const qint64 wholeMs = whole.elapsed();
    out << "journal_20_jobs_of_1000_logo_labels_kb: " << bytes / 1024 << Qt::endl;
    out << "journal_20_records_read_whole_ms: " << wholeMs << Qt::endl;
    out << "journal_scan_first_look_ms: " << firstMs << " (longest stall " << firstStall << " ms)" << Qt::endl;
    out << "journal_scan_next_looks_ms: " << nextMs << " (longest stall " << nextStall << " ms)" << Qt::endl;
    Q_UNUSED(folder);
    return true;
}

namespace {

// A port that takes no connection: its one place in line is taken, so the
// kernel drops every further attempt and the client waits, as for a server
// gone from the network. Closed, the port refuses at the client's next try.
class SilentPort
{
public:
    explicit SilentPort(int port)
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(quint16(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        m_listener = socket(AF_INET, SOCK_STREAM, 0);
        const int yes = 1;
        setsockopt(m_listener, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        if (bind(m_listener, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 || listen(m_listener, 0) != 0)
            qFatal("the silent port could not be opened");
        m_filler = socket(AF_INET, SOCK_STREAM, 0);
        if (::connect(m_filler, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0)
            qFatal("the silent port's line could not be filled");
    }
    ~SilentPort() { close(); }
    void close()
    {
        if (m_listener >= 0)
            ::close(std::exchange(m_listener, -1));
        if (m_filler >= 0)
            ::close(std::exchange(m_filler, -1));
    }

private:
    int m_listener = -1;
    int m_filler = -1;
};

} // namespace

bool benchSilentServerWindow(QTextStream &out)
{
    PrivateServer server;
    QString why;
    if (!server.prepare(&why) || !server.start()) {
        out << "silent_server_quantity: skipped (" << why << ")" << Qt::endl;
        return true;
    }
    const QString database = server.databaseText(QStringLiteral("boticon.bd"));
    if (!TestSuite::createDatabase(database, &why, TestSuite::Writes::Async))
        qFatal("%s", qPrintable(why));
    ListWindow window;
    if (!window.start() || startOnServer(window, database).isEmpty())
        return false;
    window.clickReopen();
    window.typeInCell(0, 0, QStringLiteral("2"));
    const int port = database.section(QLatin1Char('/'), 1).section(QLatin1Char(':'), 0, 0).toInt();
    server.kill();
    SilentPort silent(port);
    static constexpr int kSilentMs = 5000;
    std::thread back([&silent] {
        std::this_thread::sleep_for(std::chrono::milliseconds(kSilentMs));
        silent.close();
    });
    StallProbe probe;
    probe.start();
    QElapsedTimer clock;
    clock.start();
    window.typeInCell(1, 0, QStringLiteral("3"));
    const qint64 typedMs = clock.elapsed();
    QTest::qWait(50);
    const qint64 stall = probe.stop();
    back.join();
    out << "silent_server_quantity_longest_stall_ms: " << stall << " (the server silent for " << kSilentMs
        << " ms; the typing returned after " << typedMs << " ms; told: "
        << window.app.messages.join(QLatin1Char('|')).left(90) << ")" << Qt::endl;
    return true;
}
