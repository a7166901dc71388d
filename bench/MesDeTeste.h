#pragma once
// The files the benchmarks work on.
#include "common/Banco.h"
#include "common/Esquema.h"
#include "platform/App.h"
#include <QString>

// A new database file in the program folder `pasta`, the church `igreja`
// working in August 2021, and 5,000 entries of that month (tithes,
// offerings and outflows), with two offering histories.
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
    Executa_SQL(QStringLiteral("INSERT INTO Ofertas (Codigo, CodIg, Descricao) VALUES "
                               "(1, %1, 'DOMINGO - CULTO DA FAMÍLIA'), (2, %1, 'QUARTA - CULTO DE ENSINO')")
                    .arg(codigo));
}

// One stored-query call's file: a new database file in `pasta` holding
// 5,000 entries of 10 churches over 2 years (about 21 a month).
inline void Cria_Arquivo_De_Consulta(const QString& pasta) {
    App::DefinePath(pasta);
    Esquema::Cria(Banco::CaminhoArquivo());
    Executa_SQL(QStringLiteral(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 5000) "
        "INSERT INTO LivroCaixa (Codigo, CodIg, Ano, Mes, Dia, Tipo, Historico, Valor) "
        "SELECT i, 1 + i % 10, 2020 + (i / 10) % 2, 1 + (i / 20) % 12, 1 + i % 28, "
        "       substr('DOS', 1 + i % 3, 1), 'HISTORICO DO LANCAMENTO NUMERO ' || i, (i % 100000) / 100.0 "
        "FROM n"));
}
