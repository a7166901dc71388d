// The printer object and the printing primitive, checked from the PDF file
// of each job with poppler's own readers.
#include "common/Formularios.h"
#include "platform/Erro.h"
#include "platform/Printer.h"
#include "support/Registro.h"
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {
struct Palavra {
    int pagina;
    QString texto;
    double x, y;  // millimetres from the paper's top-left corner
};

QString Executa(const QString& programa, const QStringList& args) {
    QProcess p;
    p.start(programa, args);
    if (!p.waitForFinished(30000) || p.exitCode() != 0) return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

QList<Palavra> Palavras(const QString& pdf) {
    const QString html = Executa(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    static const QRegularExpression pagina(QStringLiteral("<page "));
    static const QRegularExpression palavra(
        QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"[0-9.]+\" yMax=\"[0-9.]+\">([^<]*)</word>"));
    QList<Palavra> r;
    const QStringList paginas = html.split(pagina);
    for (int i = 1; i < paginas.size(); ++i) {
        for (auto it = palavra.globalMatch(paginas[i]); it.hasNext();) {
            const auto m = it.next();
            r.append({i, m.captured(3), m.captured(1).toDouble() * 25.4 / 72, m.captured(2).toDouble() * 25.4 / 72});
        }
    }
    return r;
}

Palavra Acha(const QList<Palavra>& ps, const QString& texto) {
    for (const Palavra& p : ps)
        if (p.texto == texto) return p;
    return {0, {}, -1, -1};
}

void Prepara_A4(Printer& p) {
    p.setPaperSize(9);
    p.setOrientation(1);
    p.setScaleMode(6);
    p.setFontName(QStringLiteral("Courier New"));
    p.setFontBold(false);
    p.setFontSize(12);
}
}  // namespace

class tst_Impressao : public QObject {
    Q_OBJECT

    QTemporaryDir pasta_;

private slots:
    void init() { Printer::DefinePastaPdf(pasta_.path() + QLatin1Char('/') + QTest::currentTestFunction()); }
    void cleanup() { Printer::DefinePastaPdf({}); }

    void textos_em_milimetros() {
        Printer& p = Impressora();
        Prepara_A4(p);
        Imprime_Texto(20, 30, QStringLiteral("ALFA"));
        QCOMPARE(p.CurrentX(), 0.0);  // the next line starts at the left edge
        QVERIFY(p.CurrentY() > 34 && p.CurrentY() < 36);
        p.Print(QStringLiteral("SEGUINTE"));
        Imprime_Texto(150.5, 250, QStringLiteral("OMEGA"), 8);
        QCOMPARE(p.FontSize(), 8.0);  // stays for later texts
        p.setScaleTop(-10);
        p.setScaleLeft(-5);
        Imprime_Texto(20, 30, QStringLiteral("DESLOCADO"));
        p.NewPage();
        p.setFontBold(true);
        Imprime_Texto(100, 100, QStringLiteral("PAGINA2"), 12);
        p.EndDoc();
        p.EndDoc();  // nothing left to send: no second file

        QCOMPARE(Printer::ArquivosPdf().size(), 1);
        const QString pdf = Printer::ArquivosPdf().first();
        const QString info = Executa(QStringLiteral("pdfinfo"), {pdf});
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+2\\n"))), qPrintable(info));
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Page size:\\s+595 x 842 pts \\(A4\\)"))), qPrintable(info));
        QVERIFY(Executa(QStringLiteral("pdffonts"), {pdf}).contains(QStringLiteral("LiberationMono")));

        const auto ps = Palavras(pdf);
        struct Esperado { const char* texto; int pagina; double x, y; };
        const Esperado esperados[] = {
            {"ALFA", 1, 20, 30}, {"SEGUINTE", 1, 0, -1}, {"OMEGA", 1, 150.5, 250},
            {"DESLOCADO", 1, 25, 40}, {"PAGINA2", 2, 105, 110},
        };
        for (const Esperado& e : esperados) {
            const Palavra w = Acha(ps, QString::fromLatin1(e.texto));
            QVERIFY2(w.pagina == e.pagina, e.texto);
            QVERIFY2(qAbs(w.x - e.x) <= 0.5, qPrintable(QStringLiteral("%1 x=%2").arg(e.texto).arg(w.x)));
            if (e.y >= 0) QVERIFY2(qAbs(w.y - e.y) <= 0.5, qPrintable(QStringLiteral("%1 y=%2").arg(e.texto).arg(w.y)));
        }
        // Print went on to the next line: below ALFA by one line of 12 points.
        const double linha = Acha(ps, QStringLiteral("SEGUINTE")).y - Acha(ps, QStringLiteral("ALFA")).y;
        QVERIFY2(linha > 4 && linha < 6, qPrintable(QString::number(linha)));
    }

    void um_documento_por_enddoc() {
        Printer& p = Impressora();
        Prepara_A4(p);
        QImage figura(40, 20, QImage::Format_RGB32);
        figura.fill(Qt::gray);
        p.PaintPicture(figura, 5, 5, 200, 100);
        Imprime_Texto(10, 10, QStringLiteral("PRIMEIRO"));
        p.EndDoc();
        p.setOrientation(2);
        Imprime_Texto(10, 10, QStringLiteral("SEGUNDO"));
        p.EndDoc();
        QCOMPARE(Printer::ArquivosPdf().size(), 2);
        QCOMPARE(Acha(Palavras(Printer::ArquivosPdf()[0]), QStringLiteral("PRIMEIRO")).pagina, 1);
        QCOMPARE(Acha(Palavras(Printer::ArquivosPdf()[1]), QStringLiteral("SEGUNDO")).pagina, 1);
        QVERIFY(Executa(QStringLiteral("pdfinfo"), {Printer::ArquivosPdf()[1]}).contains(QStringLiteral("842 x 595 pts")));
        QVERIFY(Executa(QStringLiteral("pdfimages"), {QStringLiteral("-list"), Printer::ArquivosPdf()[0]})
                    .contains(QStringLiteral("image")));
        p.setOrientation(1);
    }

    void falhas_da_impressora() {
        Printer& p = Impressora();
        auto numero = [](const std::function<void()>& f) -> long {
            try {
                f();
            } catch (const ErroExecucao& e) {
                return e.Number;
            }
            return 0;
        };
        QCOMPARE(numero([&] { p.setPaperSize(99); }), 380L);
        QCOMPARE(numero([&] { p.setScaleMode(0); }), 380L);
        QCOMPARE(numero([&] { p.PaintPicture(QImage(), 0, 0, 10, 10); }), 481L);
        // A printer that does not exist cannot start the job.
        Printer::DefinePastaPdf({});
        Define_Impressora(QStringLiteral("Impressora Que Nao Existe"));
        QCOMPARE(Impressora().DeviceName(), QStringLiteral("Impressora Que Nao Existe"));
        QCOMPARE(numero([] { Imprime_Texto(10, 10, QStringLiteral("X")); }), 482L);
        QVERIFY(!Impressora().Imprimindo());
        Define_Impressora({});
    }
};

REGISTRA_TESTE(tst_Impressao)
#include "tst_Impressao.moc"
