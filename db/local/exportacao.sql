-- Months sent to the central system: one row per transmitted month, no key.
-- The same four columns that the register download and the transmission
-- create when the table is missing.
CREATE TABLE Transmissao (Mes integer,Ano integer,Data Datetime,Usuario varchar(50));
