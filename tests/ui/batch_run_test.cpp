#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// The batch contract on the built program, run as a process.
namespace {

const char kTables[] = "id,name\r\n1,x\r\n2,y\r\n";

// A state file over three tables a, b, c in `dir`; `joins` and the result line are filled in.
QByteArray StateFile(const QString& dir, const QByteArray& joins, const QByteArray& result,
                     const QByteArray& table_a = "a.csv") {
  QByteArray text = "6, TableFileNames  Left Top Height Width#a#\r\n";
  int slot = 4;
  for (const QByteArray& t : {table_a, QByteArray("b.csv"), QByteArray("c.csv")}) {
    text += dir.toUtf8() + '/' + t + ',' + QByteArray::number(slot) + ",501," +
            QByteArray::number(600 + (slot - 4) * 2000) + ",1500,4452,True,1,1\r\n";
    ++slot;
  }
  text +=
      "9100,12000\r\n"
      "JoinsF: Serial# DepartureTable# DepartureColumn# DestinationTable# "
      "DestinationColumn#b#\r\n" +
      joins +
      "ReportTableColumn: Serial# Table# Column#c#\r\n1,4,2\r\n"
      "Parentheses: Serial# PanelLeft PanelTop PanelHeight PanelWidth ConteinerPanel#d#,0,Pink\r\n"
      "0,600,600,3480,9252,<\r\n"
      "EquationBox: Serial# TextBoxLeft TextBoxTop TextBoxHeight TextBoxWidth "
      "ContainerPanel#e#,0\r\n"
      "#f#\r\n2280,4920,972,5412\r\n\r\nthis software is deveroped by mivora.app\r\n#g#\r\n"
      "120,240,9100,12000\r\nResultProperties#h#,\r\n120,120,240,11000,1,1\r\n"
      "120,480,6000,11000,1,1\r\n9100,12000\r\n"
      "ConditionEquations: Serial# CndTxtBox# Table# Row# Column#i#\r\n#j#\r\n" +
      result + "\r\n\r\n#k#\r\n";
  return text;
}

// The result writers are merged: the tests of really written result files run.
constexpr bool kResultWritersReady = true;

struct Run {
  int status = -1;
  QString err;
  QByteArray out;
};

}  // namespace

class BatchRunTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;

  QString Write(const QString& name, const QByteArray& bytes) {
    const QString path = dir_.filePath(name);
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(bytes);
    return path;
  }

  // Runs the program in the temporary folder; `display` keeps QT_QPA_PLATFORM=offscreen,
  // otherwise every display variable is removed.
  Run Start(const QStringList& arguments, bool offscreen_platform) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* v : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "QT_LOGGING_RULES"})
      env.remove(QString::fromLatin1(v));
    if (offscreen_platform)
      env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(dir_.path());
    p.start(QStringLiteral(MIVORA_PROGRAM_DIR "/mivora"), arguments);
    Run run;
    // A harness limit, not a timing: the program must end by itself.
    if (!p.waitForFinished(60000)) {
      p.kill();
      p.waitForFinished();
      return run;
    }
    run.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    run.err = QString::fromUtf8(p.readAllStandardError());
    run.out = p.readAllStandardOutput();
    return run;
  }

 private Q_SLOTS:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    for (const char* t : {"a.csv", "b.csv", "c.csv"}) Write(QString::fromLatin1(t), kTables);
    Write(QStringLiteral("none.rsm"), StateFile(dir_.path(), "", ""));
    Write(QStringLiteral("moved.rsm"), StateFile(dir_.path(), "", "out.csv", "gone.csv"));
    Write(QStringLiteral("odd.rsm"), StateFile(dir_.path(), "", "out.txt"));
    // The third join closes a cycle: refused with its message, the run goes on.
    Write(QStringLiteral("cycle.rsm"),
          StateFile(dir_.path(), "1,4,1,5,1\r\n2,5,1,6,1\r\n3,6,1,4,1\r\n", "out.txt"));
  }

  void statuses_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("offscreen");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("messages");
    auto row = [](const char* name, QStringList args, bool offscreen, int status,
                  QStringList messages) {
      QTest::newRow(name) << args << offscreen << status << messages;
    };
    row("no state file", {QStringLiteral("--batch")}, false, 2,
        {QStringLiteral("mivora: 状態保存ファイルが指定されていません。")});
    row("unknown option", {QStringLiteral("--bogus"), QStringLiteral("none.rsm")}, false, 2,
        {QStringLiteral("mivora: オプション「--bogus」はわかりません。")});
    row("unreadable", {QStringLiteral("--batch"), QStringLiteral("missing.rsm")}, false, 2,
        {QStringLiteral("mivora: 状態保存ファイル「missing.rsm」を開けません。 / ")});
    row("no result file", {QStringLiteral("--batch"), QStringLiteral("none.rsm")}, false, 2,
        {QStringLiteral(
            "mivora: 状態保存ファイル「none.rsm」には結果ファイルの指定がありません。")});
    row("table moved", {QStringLiteral("--batch"), QStringLiteral("moved.rsm")}, false, 1,
        {QStringLiteral("mivora: 状態保存ファイルに問題があります。 / 「moved.rsm」の 2 行目")});
    row("offscreen without --batch", {QStringLiteral("odd.rsm")}, true, 1,
        {QStringLiteral("」の形式がわかりません。")});
    row("cycle goes on", {QStringLiteral("--batch"), QStringLiteral("cycle.rsm")}, false, 1,
        {QStringLiteral("mivora: 循還です ！"), QStringLiteral("」の形式がわかりません。")});
  }

  void statuses() {
    QFETCH(QStringList, arguments);
    QFETCH(bool, offscreen);
    QFETCH(int, status);
    QFETCH(QStringList, messages);
    const Run run = Start(arguments, offscreen);
    QCOMPARE(run.status, status);
    QVERIFY2(run.out.isEmpty(), run.out.constData());
    qsizetype at = 0;
    for (const QString& m : messages) {
      at = run.err.indexOf(m, at);
      QVERIFY2(at >= 0, qPrintable(run.err));
    }
    // Every line is one of ours: nothing from Qt.
    for (const QString& line : run.err.split(u'\n', Qt::SkipEmptyParts))
      QVERIFY2(line.startsWith(QStringLiteral("mivora: ")), qPrintable(line));
  }

  // Resumed completely and written: status 0, the file there. Not written: status 1, an old
  // file kept as it was.
  void writesTheResult() {
    if (!kResultWritersReady) QSKIP("needs the result writers");
    Write(QStringLiteral("ok.rsm"), StateFile(dir_.path(), "1,4,1,5,1\r\n", "ok.csv"));
    Run run = Start({QStringLiteral("--batch"), QStringLiteral("ok.rsm")}, false);
    QCOMPARE(run.status, 0);
    QVERIFY2(run.err.isEmpty(), qPrintable(run.err));
    QFile ok(dir_.filePath(QStringLiteral("ok.csv")));
    QVERIFY(ok.open(QIODevice::ReadOnly));
    QCOMPARE(ok.readAll(), QByteArray("name\r\nx\r\ny\r\n"));

    // A result file that cannot be replaced (its name taken by a folder) fails with status 1.
    QDir(dir_.path()).mkpath(QStringLiteral("taken.csv"));
    Write(QStringLiteral("taken.rsm"), StateFile(dir_.path(), "", "taken.csv"));
    run = Start({QStringLiteral("--batch"), QStringLiteral("taken.rsm")}, false);
    QCOMPARE(run.status, 1);
    QVERIFY(QFileInfo(dir_.filePath(QStringLiteral("taken.csv"))).isDir());
  }

  // The samples that name a result file, each on a copy of the samples.
  void savingSamples_data() {
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("result");
    QTest::newRow("OptionsC") << QStringLiteral("Options/OptionsC.RSM")
                              << QStringLiteral("Options/OptionsC.csv");
    QTest::newRow("AccountsC") << QStringLiteral("Accounts/AccountsC.rsm")
                               << QStringLiteral("Accounts/AccountsC.xlsx");
  }

  void savingSamples() {
    if (!kResultWritersReady) QSKIP("needs the result writers and the workbook reader");
    QFETCH(QString, state);
    QFETCH(QString, result);
    QTemporaryDir copy;
    for (const QString& folder : {QStringLiteral("Options"), QStringLiteral("Accounts")}) {
      QDir(copy.path()).mkpath(folder);
      const QDir from(QStringLiteral(MIVORA_PROGRAM_DIR "/") + folder);
      for (const QString& f : from.entryList(QDir::Files))
        QVERIFY(QFile::copy(from.filePath(f), copy.filePath(folder + u'/' + f)));
    }
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(copy.path());
    p.start(QStringLiteral(MIVORA_PROGRAM_DIR "/mivora"), {QStringLiteral("--batch"), state});
    QVERIFY(p.waitForFinished(60000));
    QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());
    QVERIFY(QFileInfo(copy.filePath(result)).size() > 0);
  }
};

QTEST_GUILESS_MAIN(BatchRunTest)
#include "batch_run_test.moc"
