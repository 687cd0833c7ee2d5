#include "browse/karvex_causes.h"

#include "karvex/karvex.h"

namespace browse {

std::string karvexCause(std::int32_t code)
{
    switch (code) {
    case KARVEX_E_ARGUMENT:
        return "调用文件库时缺少参数。";
    case KARVEX_E_OPEN_ARCHIVE:
        return "文件库无法打开:它已不存在、不可读,或是一个文件夹。";
    case KARVEX_E_NOT_AN_ARCHIVE:
        return "该文件不是可读的文件库,或者文件库已损坏、不完整。";
    case KARVEX_E_NO_MEMBER:
        return "文件库中已没有这个文件,文件库可能已被更换。";
    case KARVEX_E_UNSAFE_NAME:
        return "这个文件的名称写到磁盘上不安全,不能取出。";
    case KARVEX_E_SEPARATOR_IN_NAME:
        return "这个文件的名称含有“@@”,不能取出。";
    case KARVEX_E_SAVE_PATH:
        return "保存路径不正确。";
    case KARVEX_E_SAVE_FOLDER:
        return "保存的文件夹不存在,或者路径上有一个同名的文件占了文件夹的位置。";
    case KARVEX_E_SYMLINK:
        return "路径上的一个文件夹是符号链接,不能经由链接写入。";
    case KARVEX_E_EXISTS:
        return "文件夹中已有一个同名的不同文件,它原样保留,没有被改动。";
    case KARVEX_E_ENCRYPTED:
        return "这个文件是加密的,无法取出。";
    case KARVEX_E_UNSUPPORTED_METHOD:
        return "这个文件的压缩方式不受支持。";
    case KARVEX_E_NO_SPACE:
        return "磁盘空间不足。";
    case KARVEX_E_SIZE_MISMATCH:
        return "这个文件已损坏:数据长度与记录不符。";
    case KARVEX_E_BAD_CRC:
        return "这个文件已损坏:校验和不符。";
    case KARVEX_E_CORRUPT_DATA:
        return "这个文件的压缩数据已损坏或不完整。";
    case KARVEX_E_WRITE:
        return "写入文件失败:输入输出错误、文件大小受限或没有权限。";
    case KARVEX_E_INTERNAL:
        return "文件库内部出错,或内存不足。";
    case KARVEX_E_TOO_BIG:
        return "这个文件解压后大得异常(压缩比不合常理),为安全起见不予取出。";
    case KARVEX_E_NAME_TOO_LONG:
        return "这个文件的名称太长,文件系统无法保存。";
    case KARVEX_E_PERMISSION:
        return "文件夹是只读的,没有写入权限。";
    case KARVEX_E_CANCELLED:
        return "操作已取消。";
    case KARVEX_E_BAD_RECORD:
        return "这个文件在文件库目录中的记录已损坏。";
    case KARVEX_E_NEEDS_MEMORY:
        return "这个文件解压时需要的内存超过了文件库允许的上限(" +
               std::to_string(KARVEX_DECODER_MEMORY_LIMIT >> 20) + " MiB),无法取出。";
    case KARVEX_E_HEADER_MISMATCH:
        return "这个文件在文件库中的两处记录不一致(文件头写的是另一个文件名),为安全起见不予取出。";
    default:
        break;
    }
    return "文件库报告了一个未知的错误。";
}

} // namespace browse
