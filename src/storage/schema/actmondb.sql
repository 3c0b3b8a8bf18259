-- The log database shipped beside Vornhalt.exe and copied to the user's
-- application-data folder at the first start, together with the settings
-- database. Declared types decide how the access layer reads a column.

-- The activity log. date_created is "yyyy-mm-dd hh:nn:ss" text, so comparing
-- it as text orders rows by time; the clean-up and the usage statistics
-- select by it, hence the index.
CREATE TABLE applications(
  date_created TEXT,
  app_name TEXT,
  browser_url TEXT,
  app_type TEXT,
  duration INTEGER,
  origin INTEGER
);

CREATE INDEX applications_date_created ON applications(date_created);

-- The usage statistics sum an entry's rows of a period: by application for
-- application entries, by address for web-site entries (and for a browser on
-- the list as an application). Names compare ignoring case; the indexes hold
-- every column those sums read, so the table itself is not visited.
CREATE INDEX applications_by_application ON applications(app_name COLLATE NOCASE, origin, date_created, duration);
CREATE INDEX applications_by_address ON applications(browser_url COLLATE NOCASE, date_created, origin, duration);

-- A copy of the time-limit list, for the statistics and the log clean-up.
CREATE TABLE applications_list(
  name TEXT,
  caption TEXT,
  active INTEGER
);

CREATE TABLE websites_list(
  name TEXT,
  caption TEXT,
  active INTEGER
);
