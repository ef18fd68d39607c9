/*
 * Version and product identity, shared by the resource script (VERSIONINFO)
 * and by any code that shows the version. Plain preprocessor only: windres
 * reads this file too.
 *
 * The version itself comes from the VERSION file at the top of the
 * sources, through the header CMake makes of it (version_numbers.h, in the
 * build tree), as do the manifest, the package and the installer.
 */
#ifndef PATHWICK_VERSION_H
#define PATHWICK_VERSION_H

#include "version_numbers.h"

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
