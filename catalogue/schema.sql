/* The paint catalogue: paint kinds (Firma), fan decks (Vejir), shades (Odstin), the
   fan decks each paint kind carries, the shades of each fan deck per paint kind, and
   the catalogue's version. Text is Windows-1250. */

CREATE TABLE verze (
    verze_exe INTEGER NOT NULL
);

CREATE TABLE Firma (
    firma_id       INTEGER NOT NULL PRIMARY KEY,
    firma_jmeno    VARCHAR(60) NOT NULL,
    firma_jednotka VARCHAR(10) NOT NULL,
    firma_typ      CHAR(1) NOT NULL CHECK (firma_typ IN ('a', 'd'))
);

CREATE TABLE Vejir (
    vejir_id      INTEGER NOT NULL PRIMARY KEY,
    vejir_jmeno   VARCHAR(60) NOT NULL,
    vejir_typ     CHAR(1) NOT NULL CHECK (vejir_typ IN ('a', 'd')),
    vejir_vlastni SMALLINT DEFAULT 0 NOT NULL CHECK (vejir_vlastni IN (0, 1))
);

CREATE TABLE Firma_in_vejir (
    FIV_firma_id INTEGER NOT NULL REFERENCES Firma (firma_id),
    FIV_vejir_id INTEGER NOT NULL REFERENCES Vejir (vejir_id),
    PRIMARY KEY (FIV_firma_id, FIV_vejir_id)
);

CREATE TABLE Odstin (
    odstin_id     INTEGER NOT NULL PRIMARY KEY,
    odstin_jmeno  VARCHAR(60) NOT NULL,
    odstin_R      SMALLINT CHECK (odstin_R BETWEEN 0 AND 255),
    odstin_G      SMALLINT CHECK (odstin_G BETWEEN 0 AND 255),
    odstin_B      SMALLINT CHECK (odstin_B BETWEEN 0 AND 255),
    odstin_notice VARCHAR(200)
);

CREATE TABLE Odstin_In_Vejir (
    OIV_odstin_id INTEGER NOT NULL REFERENCES Odstin (odstin_id),
    OIV_vejir_id  INTEGER NOT NULL REFERENCES Vejir (vejir_id),
    OIV_firma_id  INTEGER NOT NULL REFERENCES Firma (firma_id),
    PRIMARY KEY (OIV_odstin_id, OIV_vejir_id, OIV_firma_id)
);

CREATE INDEX Odstin_In_Vejir_deck_kind ON Odstin_In_Vejir (OIV_vejir_id, OIV_firma_id);
CREATE INDEX Vejir_type_name ON Vejir (vejir_typ, vejir_jmeno);
CREATE INDEX Odstin_name ON Odstin (odstin_jmeno);
COMMIT;
