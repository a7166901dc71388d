-- The agenda of commitments: one church's entries of one month (?1 church
-- code, ?2 year, ?3 month). Entries have no key: the five values identify
-- one, and the description is stored trimmed.

-- consulta: ProcPesqAgenda (Long, Long, Long)
SELECT Dia, Descricao
  FROM Agenda
 WHERE CodIg = ?1 AND Ano = ?2 AND Mes = ?3
 ORDER BY Dia, Descricao;

-- consulta: ProcInsAgenda (Long, Long, Long, Long, Text)
INSERT INTO Agenda (CodIg, Ano, Mes, Dia, Descricao)
VALUES (?1, ?2, ?3, ?4, ?5);

-- One record, though several may hold the same values: of two identical
-- entries one stays. An entry stored with blanks around its description
-- (before it was trimmed) is found by what the list shows.
-- consulta: ProcDelAgenda (Long, Long, Long, Long, Text)
DELETE FROM Agenda
 WHERE rowid = (SELECT rowid
                  FROM Agenda
                 WHERE CodIg = ?1 AND Ano = ?2 AND Mes = ?3 AND Dia = ?4
                   AND trim(Descricao, ' ') = ?5
                 LIMIT 1);
