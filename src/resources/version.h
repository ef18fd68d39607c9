/*
 * Version and product identity, shared by the resource script (VERSIONINFO)
 * and by any code that shows the version. Plain preprocessor only: windres
 * reads this file too.
 *
 * The numeric parts feed FILEVERSION/PRODUCTVERSION; the string forms are
 * spelled out rather than built with stringizing so that both windres and
 * the C++ compiler see exactly the same literal.
 */
#ifndef PATHWICK_VERSION_H
#define PATHWICK_VERSION_H

#define PATHWICK_VERSION_MAJOR 1
#define PATHWICK_VERSION_MINOR 0
#define PATHWICK_VERSION_PATCH 0
#define PATHWICK_VERSION_BUILD 0

/* What users see, e.g. in the About box: major.minor with two digits. */
#define PATHWICK_VERSION_STRING "1.00"

/* Four-part form for the version resource's string table. Keep in step with
 * the numbers above. */
#define PATHWICK_VERSION_DOTTED "1.0.0.0"

/* The maker as the About box and the version resource name it (the
 * registry keys carry the same name), and its web site. The host is a
 * reserved example name on purpose: it can never lead anywhere but where
 * the maker points it. */
#define PATHWICK_MAKER_NAME "Quillmere Software"
#define PATHWICK_PRODUCT_NAME "Pathwick Pro"
#define PATHWICK_COMPANY_NAME PATHWICK_MAKER_NAME
#define PATHWICK_COPYRIGHT "Copyright (C) 2004 Quillmere Software"
#define PATHWICK_EXE_NAME "pathwick.exe"

#define PATHWICK_MAKER_HOST "www.quillmere.example"
#define PATHWICK_MAKER_URL "http://www.quillmere.example/pathwick/"

#endif /* PATHWICK_VERSION_H */
