#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "gui/xafs/xafs_reading_dialog.h"
#include "gui_test_support.h"

using zephalo::core::Workspace;
using zephalo::gui::CXAFSReading;
using zephalo::test::buttonByCaption;
using zephalo::test::panelText;

namespace {

QByteArray wien2k(double start, int n) {
    QByteArray text = "# ENERGY XAS TOTAL\n";
    for (int i = 0; i < n; ++i) {
        text += QByteArray::number(start + 0.1 * i, 'f', 4) + "  " + QByteArray::number(1 + i % 3) +
                "\n";
    }
    return text;
}

}  // namespace

class XafsReadingDialogTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Workspace> m_ws;

    QString source(const QString& name, const QByteArray& text) {
        const QString path = m_dir->filePath(name);
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(text);
        return path;
    }
    // No file written: at most the lock file of the button's step is there.
    bool workspaceEmpty() const {
        const QStringList entries =
            QDir(m_dir->filePath("ws")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries);
        return entries.isEmpty() || entries == QStringList{QStringLiteral("ZEPHALO.lock")};
    }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        QVERIFY(QDir().mkpath(m_dir->filePath("ws")));
        m_ws = std::make_unique<Workspace>(m_dir->filePath("ws").toStdString());
    }

    void opensWithItsControls() {
        CXAFSReading dialog(*m_ws);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("XAFS計算読込"));
        for (const char* caption :
             {"XAFS１成分データ読込", "XAFS2成分データ読込（1/2）", "XAFS2成分データ読込（2/2）",
              "一般のX-Y1-Y2データ読込", "OK", "キャンセル"}) {
            QVERIFY2(buttonByCaption(dialog, QString::fromUtf8(caption)), caption);
        }
        QCOMPARE(
            panelText(dialog),
            QStringLiteral(
                "WIEN2kの計算ファイルを1成分か2成分を選択して\r\n読み込んで下さい。\r\n"
                "　xが励起エネルギー、yが2成分それぞれの強度\r\n（1成分の場合は2成分の値が同じ）"
                "という形式の\r\nファイルも読み込めます。"));
    }

    void importButtons_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("records");  // -1: refused, nothing written
        QTest::newRow("one")
            << QStringLiteral("XAFS１成分データ読込") << wien2k(-1, 21)
            << QStringLiteral(" に1成分の「選択的\r\nXAFSスペクトル（計算値）」を導入しました。")
            << 21;
        QTest::newRow("general")
            << QStringLiteral("一般のX-Y1-Y2データ読込") << QByteArray("0 1 2\n0.1 2 1\n0.2 1 1\n")
            << QStringLiteral(" に「選択的\r\nXAFSスペクトル（一般データ）」を導入しました。") << 2;
        QTest::newRow("bad header")
            << QStringLiteral("XAFS１成分データ読込") << QByteArray("# XAS TOTAL\n0 1\n0.1 2\n")
            << QStringLiteral("in.xspec のヘッダーが4語ではありません。") << -1;
        QTest::newRow("first of two")
            << QStringLiteral("XAFS2成分データ読込（1/2）") << wien2k(0, 5)
            << QStringLiteral("」の1成分目を導入\r\nしました。") << 0;
    }

    void importButtons() {
        QFETCH(QString, caption);
        QFETCH(QByteArray, content);
        QFETCH(QString, expected);
        QFETCH(int, records);
        CXAFSReading dialog(*m_ws);
        const QString file = source(QStringLiteral("in.xspec"), content);
        dialog.setFileChooser([&] { return file; });
        QTest::mouseClick(buttonByCaption(dialog, caption), Qt::LeftButton);
        QVERIFY2(panelText(dialog).contains(expected), qPrintable(panelText(dialog)));
        QFile out(QString::fromStdString(m_ws->path("SelectiveXAFS_for_Reading_Org.DAT").string()));
        if (records < 0) {
            QVERIFY(workspaceEmpty());
        } else if (records == 0) {
            QVERIFY(!out.exists());
            QVERIFY(m_ws->exists("SelectiveXAFS_for_Reading_Org_2_1.DAT"));
        } else {
            QVERIFY(out.open(QIODevice::ReadOnly));
            QCOMPARE(out.readAll().count('\n'), records);
        }
    }

    void cancelChangesNothing() {
        CXAFSReading dialog(*m_ws);
        const QString before = panelText(dialog);
        int asked = 0;
        dialog.setFileChooser([&] {
            ++asked;
            return QString();
        });
        for (const char* caption :
             {"XAFS１成分データ読込", "XAFS2成分データ読込（1/2）", "一般のX-Y1-Y2データ読込"}) {
            QTest::mouseClick(buttonByCaption(dialog, QString::fromUtf8(caption)), Qt::LeftButton);
        }
        QCOMPARE(asked, 3);
        QCOMPARE(panelText(dialog), before);
        QVERIFY(workspaceEmpty());
    }

    void noWorkspaceAsksForNoFile() {
        const Workspace missing(m_dir->filePath("not-created").toStdString());
        CXAFSReading dialog(missing);
        int asked = 0;
        dialog.setFileChooser([&] {
            ++asked;
            return m_dir->filePath("in.xspec");
        });
        QTest::mouseClick(buttonByCaption(dialog, QStringLiteral("XAFS１成分データ読込")),
                          Qt::LeftButton);
        QCOMPARE(asked, 0);
        QVERIFY2(
            panelText(dialog).endsWith(QStringLiteral("まず「ワークスペース作成」をして下さい。")),
            qPrintable(panelText(dialog)));
    }

    void secondComponentNeedsTheFirst() {
        CXAFSReading dialog(*m_ws);
        int asked = 0;
        QString next;
        dialog.setFileChooser([&] {
            ++asked;
            return next;
        });
        auto* second = buttonByCaption(dialog, QStringLiteral("XAFS2成分データ読込（2/2）"));
        QTest::mouseClick(second, Qt::LeftButton);
        QCOMPARE(asked, 0);
        QCOMPARE(panelText(dialog),
                 QStringLiteral("エラー！！\r\n　まず上のボタンで1成分目を導入して下さい！"));
        QVERIFY(workspaceEmpty());

        next = source(QStringLiteral("a.xspecup"), wien2k(0, 10));
        QTest::mouseClick(buttonByCaption(dialog, QStringLiteral("XAFS2成分データ読込（1/2）")),
                          Qt::LeftButton);
        next = source(QStringLiteral("a.xspecdn"), wien2k(0.3, 10));
        QTest::mouseClick(second, Qt::LeftButton);
        QCOMPARE(asked, 2);
        QVERIFY2(panelText(dialog).contains(QStringLiteral("」の2成分目を導入\r\nしました。")),
                 qPrintable(panelText(dialog)));
        QVERIFY(m_ws->exists("SelectiveXAFS_for_Reading_Org.DAT"));
    }
};

QTEST_MAIN(XafsReadingDialogTest)
#include "xafs_reading_dialog_test.moc"
