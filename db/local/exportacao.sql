-- Months sent to the central system: one row per transmitted month, no key.
-- The same four columns that the register download and the transmission
-- create when the table is missing.
CREATE TABLE Transmissao (Mes integer,Ano integer,Data Datetime,Usuario varchar(50));

-- The working month recorded as sent: ?1 month, ?2 year, ?3 when, ?4 the
-- user. Removing it is ProcDelTransmissaoMes.
-- consulta: ProcInsTransmissao (Long, Long, DateTime, Text)
INSERT INTO Transmissao (Mes, Ano, Data, Usuario) VALUES (?1, ?2, ?3, ?4);
