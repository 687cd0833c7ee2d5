/*
 * Karvex: the archive library of Varnelook. It lists the members of a .zqr archive (a ZIP
 * archive) and unpacks one member to a file, behind two C entry points that the viewer binds by
 * name at run time.
 *
 * Strings are zero-terminated UTF-8 byte strings. Neither entry changes the strings it is given,
 * apart from the list buffer of GetFileIndexList2.
 *
 * Member names come back in UTF-8: a name flagged UTF-8 in the archive is taken as it is; any
 * other name with an Info-ZIP Unicode Path extra field (0x7075) whose CRC-32 is that of the stored
 * name takes the field's UTF-8 name (a field that is not UTF-8 leaves the member out as
 * undecodable); any other name is taken as it is when it is valid UTF-8 and decoded from GB18030
 * (a superset of GBK) otherwise. The rules below apply to the name so chosen. A backslash in a name
 * is a folder separator and is listed as "/"; a "." component is dropped ("./a.txt" lists as
 * "a.txt"). Folder entries are not listed. A name that occurs twice is listed once (the first entry
 * wins). A name is not listed, and cannot be unpacked, when it holds
 * "@@", when it cannot be decoded, or when it is unsafe to write: absolute, starting with a drive
 * letter, with a ".." or empty component, holding a NUL, a control character or a
 * bidirectional formatting character (U+202E would make "exe.pdf" look like "fdp.exe"), with a
 * component over 255 bytes or over 4095 bytes in all, or named like the library's own temporary
 * files (".karvex-*.part"). A member whose central record cannot be used (see
 * KARVEX_E_BAD_RECORD) is not listed either; the rest of the archive is.
 *
 * Every fact about a member (name, sizes, CRC, method, where its data is) comes from its one
 * central directory record. An archive whose structure could be read two ways (an end record
 * hidden in another's comment, end records or entry counts that disagree, a directory that
 * could sit at two places) is refused as a whole (KARVEX_E_NOT_AN_ARCHIVE). Read all the same,
 * since only one reading is possible: more than 65,535 members in a classic end record whose
 * count wrapped modulo 65,536 or stopped at 65,535 (the records that fill the directory exactly
 * decide); an end record whose comment is cut short by the end of the file, when it is the only
 * end record; a directory that is not at its recorded offset but ends right at the end record,
 * when the first member's local header is where its record says.
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
    /* Unpacking the member would leave the save folder's file system with less free space than
       its reserve (KARVEX_FREE_RESERVE_*), or it filled up while writing. */
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
    KARVEX_E_INTERNAL = -18,
    /* The member declares a size that is both large and out of all proportion to its packed size
       (KARVEX_BOMB_MIN_SIZE and KARVEX_BOMB_MIN_RATIO): refused before a byte is written. */
    KARVEX_E_TOO_BIG = -19,
    /* A component of the member name is longer than the file system allows (255 bytes), or the
       whole path is longer than the platform allows. Such members are never listed. */
    KARVEX_E_NAME_TOO_LONG = -20,
    /* The save folder, or a sub-folder of the member in it, cannot be written: no permission, or
       a read-only file system. */
    KARVEX_E_PERMISSION = -21,
    /* The caller's progress callback asked the unpack or the listing to stop. Nothing is left on
       disk. */
    KARVEX_E_CANCELLED = -22,
    /* The member's central record cannot be read (inconsistent fields, a method this library
       cannot read, or a name that cannot be decoded). Such members are never listed; the rest of
       the archive is. */
    KARVEX_E_BAD_RECORD = -23,
    /* The member's data is sound, but its decoder would need more memory than
       KARVEX_DECODER_MEMORY_LIMIT (an LZMA or xz dictionary, a Zstandard window, over that size).
       Refused before that memory is taken. */
    KARVEX_E_NEEDS_MEMORY = -24,
    /* The member's local header names another file than its central record does. Refused: a
       reader that walks the local headers would take these bytes for that other file. */
    KARVEX_E_HEADER_MISMATCH = -25
};

/* An unpack never leaves its file system with less free space than the smaller of these two: a
   share of the file system's size, in percent, and a fixed number of bytes. */
#define KARVEX_FREE_RESERVE_PERCENT 5
#define KARVEX_FREE_RESERVE_BYTES (1ULL << 30)
/* A member is refused as a bomb (KARVEX_E_TOO_BIG) when it declares more than
   KARVEX_BOMB_MIN_SIZE bytes and more than KARVEX_BOMB_MIN_RATIO times its packed size. */
#define KARVEX_BOMB_MIN_SIZE (1ULL << 30)
#define KARVEX_BOMB_MIN_RATIO 1000
/* The largest dictionary (LZMA, xz) or window (Zstandard) a member's decoder may hold, in bytes;
   a member that needs more is refused with KARVEX_E_NEEDS_MEMORY. The decoder's own state adds
   well under 1 MiB to this. */
#define KARVEX_DECODER_MEMORY_LIMIT (512ULL << 20)

/* Positive result of KarvexExtractMember with KARVEX_EXTRACT_ACCEPT_IDENTICAL: a file was already
   at the save path, with exactly the member's size and CRC-32. Nothing was written or removed. */
#define KARVEX_IDENTICAL_EXISTS 1

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
 * declares; bombs are refused before a byte is written, and the free-space reserve is kept.
 *
 * Returns KARVEX_OK, or one of the negative codes above; on failure no file is left at
 * `pssavefilename`, and any sub-folder the call created is removed again if empty, unless
 * another unpack into the same save folder is running at that moment (it may need the folder).
 */
KARVEX_API int32_t GetFileFromZipFile2(char* pszipfilename, char* psfilename, char* pssavefilename);

/* ---- Entries beyond the two above: an unbounded, detailed listing and an unpack that reports
   progress and can be cancelled. Callers that bind entries by name should fall back to the two
   entries above when these are missing. ---- */

/* One listed member, as KarvexListMembers hands it to its callback. The pointers are valid only
   during the call. */
typedef struct KarvexMemberInfo {
    const char* name;    /* zero-terminated UTF-8, exactly as GetFileIndexList2 lists it */
    uint32_t nameLength; /* bytes in name, not counting the zero byte */
    uint32_t crc32;      /* the CRC-32 the archive declares for the data */
    uint64_t size;       /* the size the archive declares for the unpacked data */
    uint64_t packedSize; /* the size of the stored (compressed) data */
    int64_t modified;    /* modification time, seconds since 1970-01-01 UTC; -1 when unknown */
    uint64_t index;      /* the member's place in the central directory, from 0 */
    /* The modification time exactly as the archive stores it: the packer's local wall-clock
       time, with no zone, counted in seconds from 1970-01-01 00:00 of that same clock (so
       gmtime, not localtime, turns it back into its date and hour); -1 when unknown. Unlike
       `modified`, it shows a time the local clock skipped (inside a spring-forward gap) as it
       was written. */
    int64_t modifiedAsStored;
} KarvexMemberInfo;

/* What a listing found, per archive. Every entry of the central directory is counted exactly
   once: listed + folders + duplicates + the four left-out counts == entries. */
typedef struct KarvexListSummary {
    uint64_t entries;     /* entries in the central directory */
    uint64_t listed;      /* members handed to the callback */
    uint64_t folders;     /* folder entries (never listed) */
    uint64_t duplicates;  /* names listed already by an earlier entry */
    uint64_t unsafeNames; /* left out: unsafe to write, or too long for the file system */
    uint64_t separators;  /* left out: the name holds "@@" */
    uint64_t undecodable; /* left out: the name cannot be decoded */
    uint64_t badRecords;  /* left out: the central record cannot be read (KARVEX_E_BAD_RECORD) */
} KarvexListSummary;

/* Called once per listed member, in central directory order. Returns 0 to go on; anything else
   stops the listing, which then returns KARVEX_E_CANCELLED (and leaves `summary` alone). */
typedef int (*KarvexMemberCallback)(void* context, const KarvexMemberInfo* member);

/*
 * Lists every member of the archive `zipPath` that GetFileIndexList2 would list, with no bound on
 * their number or total length, calling `each` for each one (`each` may be null: then only the
 * summary is made). `summary` (may be null) is filled in when the listing succeeds. Returns
 * KARVEX_OK, KARVEX_E_CANCELLED, or the failures of GetFileIndexList2. Safe to call from several
 * threads at once.
 */
KARVEX_API int32_t KarvexListMembers(const char* zipPath, KarvexMemberCallback each, void* context,
                                     KarvexListSummary* summary);

/* Called from the unpacking thread with the bytes written so far and the member's size: once
   before the first byte, then about every MiB, then once at the end. Returns 0 to go on;
   anything else cancels the unpack (KARVEX_E_CANCELLED, nothing left on disk). */
typedef int (*KarvexProgressCallback)(void* context, uint64_t done, uint64_t total);

/* Flags of KarvexExtractMember. */
enum {
    /* `savePath` is the save folder, a "/" and the member name, exactly as GetFileFromZipFile2
       takes it; missing sub-folders are created. */
    KARVEX_EXTRACT_DEFAULT = 0,
    /* When a file is already at the save path with exactly the member's size and CRC-32, return
       KARVEX_IDENTICAL_EXISTS instead of KARVEX_E_EXISTS. */
    KARVEX_EXTRACT_ACCEPT_IDENTICAL = 1,
    /* `savePath` is any file path whose folder exists (a copy saved under a name of the user's
       choice); no folder is created. */
    KARVEX_EXTRACT_SAVE_AS = 2,
    /* With KARVEX_EXTRACT_SAVE_AS: an existing file at `savePath` is replaced, atomically, once
       the new file is complete and checked; until then the old file stays as it was. */
    KARVEX_EXTRACT_REPLACE = 4
};

/*
 * Unpacks the member `member` (a name exactly as listed) of `zipPath` to `savePath` under the
 * rules of GetFileFromZipFile2 (complete or not at all, never through a link, never outside the
 * save folder), changed only as `flags` say. `progress` may be null. Returns KARVEX_OK,
 * KARVEX_IDENTICAL_EXISTS, or a negative code; KARVEX_E_ARGUMENT also for a flag not declared
 * above, and for KARVEX_EXTRACT_REPLACE without KARVEX_EXTRACT_SAVE_AS. A member left out of the
 * list for its record is refused with KARVEX_E_ENCRYPTED when it is encrypted, else with
 * KARVEX_E_UNSUPPORTED_METHOD when only its method is unknown, and with KARVEX_E_BAD_RECORD
 * otherwise. Safe to call from several threads at once.
 */
KARVEX_API int32_t KarvexExtractMember(const char* zipPath, const char* member,
                                       const char* savePath, uint32_t flags,
                                       KarvexProgressCallback progress, void* context);

/* The library's version and the inflater it was built with, for example "1.1 (deflate: isa-l)". */
KARVEX_API const char* KarvexVersion(void);

/* sizeof(KarvexMemberInfo) in this library. KarvexMemberInfo only ever grows at its end: a
   caller built against a newer header reads a field only when the record this library hands
   over is large enough to hold it. Libraries older than this entry hand over the record up to
   and including `index`. */
KARVEX_API uint32_t KarvexMemberInfoSize(void);

#ifdef __cplusplus
}
#endif

#endif /* KARVEX_KARVEX_H */
