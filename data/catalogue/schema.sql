-- Catalogue schema: filled in by the catalogue work.
CREATE TABLE placeholder(x);
