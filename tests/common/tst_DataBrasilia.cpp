// Dates bound to stored queries under the Brazilian clock, whose
// daylight-saving starts skip a midnight: the date still exists and must be
// bound as itself. The zone is set for this whole process before any date
// is converted.
#include "common/Banco.h"
#include "common/ParametroConsulta.h"
#include "support/Ambiente.h"
#include "support/Registro.h"
#include "support/Tabela.h"
#include <QDateTime>
#include <QTest>
#include <ctime>
#include <memory>

namespace {
struct Data { QString texto, esperado; };  // esperado empty: refused with 3421
}

class tst_DataBrasilia : public QObject {
    Q_OBJECT
    QByteArray tzAntes_;

private slots:
    void initTestCase() {
        tzAntes_ = qgetenv("TZ");
        qputenv("TZ", "America/Sao_Paulo");
        tzset();
        // The zone really skips these midnights here, or the test proves nothing.
        QVERIFY(!QDateTime(QDate(2018, 11, 4), QTime(0, 0)).isValid());
    }
    void cleanupTestCase() {
        if (tzAntes_.isNull()) qunsetenv("TZ");
        else qputenv("TZ", tzAntes_);
        tzset();
    }

    void dataSemMeiaNoite_data() {
        Tabela<Data>({
            {"2013 sem hora", {"20/10/2013", "2013-10-20 00:00:00"}},
            {"2017 sem hora", {"15/10/2017", "2017-10-15 00:00:00"}},
            {"2018 sem hora", {"04/11/2018", "2018-11-04 00:00:00"}},
            {"2018 meia-noite e meia", {"4/11/2018 00:30", "2018-11-04 00:30:00"}},
            {"2018 à tarde", {"04/11/2018 14:05:09", "2018-11-04 14:05:09"}},
            {"dia comum", {"31/08/2021", "2021-08-31 00:00:00"}},
            {"29 de fevereiro sem bissexto", {"29/02/2019", ""}},
            {"mês 13", {"04/13/2018", ""}},
            {"hora 24", {"04/11/2018 24:00", ""}},
        });
    }
    void dataSemMeiaNoite() {
        QFETCH(Data, caso);
        QVariant v;
        QCOMPARE(ErroDe([&] { v = ParametroConsulta::Converte(ParametroConsulta::Tipo::DateTime, caso.texto); }),
                 caso.esperado.isEmpty() ? 3421L : 0L);
        if (!caso.esperado.isEmpty()) QCOMPARE(v.toString(), caso.esperado);
    }

    void gravadaComoDigitada() {
        // Through a stored query into the file, as the transmission records its day.
        Ambiente amb;
        Executa_Query(QStringLiteral("ProcInsTransmissao"), {"10", "2017", "15/10/2017", "TESOUREIRO"});
        QCOMPARE(amb.Le("SELECT Data FROM Transmissao")->Fields(0).toString(), QStringLiteral("2017-10-15 00:00:00"));
    }
};

REGISTRA_TESTE(tst_DataBrasilia)
#include "tst_DataBrasilia.moc"
