/*
 * Karvex: the archive library of Varnelook. It lists the members of a .zqr archive (a ZIP
 * archive) and unpacks one member to a file, behind two C entry points that the viewer binds by
 * name at run time.
 *
 * Strings are zero-terminated UTF-8 byte strings. Neither entry changes the strings it is given,
 * apart from the list buffer of GetFileIndexList2.
 *
 * Member names come back in UTF-8: a name flagged UTF-8 in the archive is taken as it is; any
 * other name is taken as it is when it is valid UTF-8 and decoded from GB18030 (a superset of GBK)
 * otherwise. A backslash in a name is a folder separator and is listed as "/"; a "." component is
 * dropped ("./a.txt" lists as "a.txt"). Folder entries are not listed. A name that occurs twice is
 * listed once (the first entry wins). A name is not listed, and cannot be unpacked, when it holds
 * "@@", when it cannot be decoded, or when it is unsafe to write: absolute, starting with a drive
 * letter, with a ".." or empty component, or holding a NUL, a control character or a
 * bidirectional formatting character (U+202E would make "exe.pdf" look like "fdp.exe").
 */
#ifndef KARVEX_KARVEX_H
#define KARVEX_KARVEX_H

#include <stdint.h>

#if defined(_WIN32)
#define KARVEX_API __declspec(dllexport)
#else
#define KARVEX_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Results. 0 or more is success; every failure has a negative code of its own. */
enum {
    KARVEX_OK = 0,
    /* A string argument is a null pointer. */
    KARVEX_E_ARGUMENT = -1,
    /* The archive file cannot be opened (missing, not readable, a folder). */
    KARVEX_E_OPEN_ARCHIVE = -2,
    /* The file is not a ZIP archive, or its central directory is damaged or truncated. */
    KARVEX_E_NOT_AN_ARCHIVE = -3,
    /* No listed member has this name. */
    KARVEX_E_NO_MEMBER = -4,
    /* The member name is unsafe to write (see above); such members are never listed. */
    KARVEX_E_UNSAFE_NAME = -5,
    /* The member name holds the list separator "@@"; such members are never listed. */
    KARVEX_E_SEPARATOR_IN_NAME = -6,
    /* The save path is not a folder, a "/", and the member name exactly as listed. */
    KARVEX_E_SAVE_PATH = -7,
    /* The save folder does not exist, or a file stands where a sub-folder of the member belongs,
       or a sub-folder cannot be created. */
    KARVEX_E_SAVE_FOLDER = -8,
    /* A sub-folder of the member inside the save folder, or the save path itself, is a symbolic
       link. Nothing is written through a link. */
    KARVEX_E_SYMLINK = -9,
    /* A file already exists at the save path. It is never overwritten: the caller deletes the
       file it unpacked before, itself. */
    KARVEX_E_EXISTS = -10,
    /* The member is encrypted. */
    KARVEX_E_ENCRYPTED = -11,
    /* The member is compressed with a method this library cannot read. */
    KARVEX_E_UNSUPPORTED_METHOD = -12,
    /* The save folder's file system has less free space than the member's size, or it filled up
       while writing. */
    KARVEX_E_NO_SPACE = -13,
    /* The member's data is longer or shorter than the size the archive declares. */
    KARVEX_E_SIZE_MISMATCH = -14,
    /* The member's data does not match the checksum the archive declares. */
    KARVEX_E_BAD_CRC = -15,
    /* The member's compressed data cannot be read (damaged or truncated). */
    KARVEX_E_CORRUPT_DATA = -16,
    /* Writing the file failed for another reason (an I/O error, a file-size limit, no
       permission). */
    KARVEX_E_WRITE = -17,
    /* Memory ran out, or another unexpected failure inside the library. */
    KARVEX_E_INTERNAL = -18
};

/* Added to the count returned by GetFileIndexList2 when members were left out of the list
   because the next whole name and its "@@" would not fit in KARVEX_LIST_LIMIT bytes. */
#define KARVEX_LIST_LEFT_OUT 0x40000000
/* The number of members a successful GetFileIndexList2 listed. */
#define KARVEX_LIST_COUNT(result) ((result)&0x3FFFFFFF)
/* The longest list GetFileIndexList2 writes, not counting its terminating zero byte. */
#define KARVEX_LIST_LIMIT 100000

/*
 * Lists the members of the archive `pszipfilename` into `psfilenamelist`, a buffer of at least
 * KARVEX_LIST_LIMIT + 1 bytes: each listed name followed by "@@", in the order of the archive's
 * central directory, then a zero byte. The list is at most KARVEX_LIST_LIMIT bytes long and never
 * ends inside a name.
 *
 * Returns the number of members listed (0 or more); KARVEX_LIST_LEFT_OUT is added when the list
 * had to stop before the last listable member. On failure (KARVEX_E_ARGUMENT,
 * KARVEX_E_OPEN_ARCHIVE, KARVEX_E_NOT_AN_ARCHIVE, KARVEX_E_INTERNAL) the buffer is left as it was.
 */
KARVEX_API int32_t GetFileIndexList2(char* pszipfilename, char* psfilenamelist);

/*
 * Unpacks the member `psfilename` (a name exactly as GetFileIndexList2 lists it) of the archive
 * `pszipfilename` to `pssavefilename`, which must be the save folder, a "/", and that name.
 * Missing sub-folders of a nested name are created inside the save folder.
 *
 * The file appears complete or not at all: it is written to an unnamed temporary file in its
 * folder, checked (size and CRC), and only then given its name. It is never written through a
 * symbolic link and never replaces an existing file. Its size is capped at the size the archive
 * declares, and the free space of the save folder is checked first.
 *
 * Returns KARVEX_OK, or one of the negative codes above; on failure no file is left at
 * `pssavefilename` (and any sub-folder the call created is removed again if empty).
 */
KARVEX_API int32_t GetFileFromZipFile2(char* pszipfilename, char* psfilename, char* pssavefilename);

#ifdef __cplusplus
}
#endif

#endif /* KARVEX_KARVEX_H */
