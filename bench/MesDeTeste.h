#pragma once
// The month the benchmarks work on: a new database file in the program
// folder `pasta`, the church `igreja` working in August 2021, and 5,000
// entries of that month (tithes, offerings and outflows).
#include "common/Banco.h"
#include "common/Esquema.h"
#include "platform/App.h"
#include <QString>

inline void Cria_Mes_De_Teste(const QString& pasta, int igreja) {
    App::DefinePath(pasta);
    Esquema::Cria(Banco::CaminhoArquivo());
    const QString codigo = QString::number(igreja);
    Executa_SQL(QStringLiteral("INSERT INTO Parametros (Codigo, Razao, Reg_Setor, Congrega, Tipo, Mes, Ano) "
                               "VALUES (%1, 'IGREJA', 'SETOR', 'CONGREGAÇÃO', 'S', 8, 2021)")
                    .arg(codigo));
    Executa_SQL(QStringLiteral(
                    "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 5000) "
                    "INSERT INTO LivroCaixa (Codigo, CodIg, Ano, Mes, Dia, Tipo, Historico, Valor) "
                    "SELECT i, %1, 2021, 8, 1 + i % 31, substr('DOS', 1 + i % 3, 1), "
                    "       CASE i % 3 WHEN 0 THEN 'DIZIMISTA NÚMERO ' || i || ' RI:' || printf('%08d', i) || ' MB' "
                    "                  WHEN 1 THEN 'OFERTA DO CULTO DE DOMINGO ' || i "
                    "                  ELSE 'CONTA DE ÁGUA ' || i || ' CT:' || (100 + i % 50) END, "
                    "       (i % 100000) / 100.0 FROM n")
                    .arg(codigo));
}
