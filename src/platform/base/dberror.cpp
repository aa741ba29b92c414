#include "dberror.h"

using namespace Qt::StringLiterals;

namespace db {

Error::Error(int number, QString description, int causeNumber, QString causeDescription)
    : m_number(number)
    , m_description(std::move(description))
    , m_causeNumber(causeNumber)
    , m_causeDescription(std::move(causeDescription))
{
    m_utf8 = QByteArray::number(m_number) + ": " + m_description.toUtf8();
    if (m_causeNumber != 0)
        m_utf8 += " (" + QByteArray::number(m_causeNumber) + ": " + m_causeDescription.toUtf8() + ')';
}

QString Error::describe(int number, const QString &arg)
{
    struct Text {
        int number;
        const char16_t *withArg; // %1 filled with arg
        const char16_t *plain;   // when no arg is given
    };
    static const Text texts[] = {
        {EngineFailure,
         u"Veritabanı işlemi yapılamadı. İşlemi yeniden deneyin; hata sürerse arşivi kapatıp yeniden açın. (%1)",
         u"Veritabanı işlemi yapılamadı. İşlemi yeniden deneyin; hata sürerse arşivi kapatıp yeniden açın."},
        {InvalidArgument, u"Geçersiz değer: %1", u"Geçersiz değer."},
        {NoCurrentRecord, u"Geçerli kayıt yok: %1", u"Geçerli kayıt yok."},
        {DuplicateKey, u"Değişiklik yapılamadı: benzersiz olması gereken alanda aynı değer zaten var (%1).",
         u"Değişiklik yapılamadı: benzersiz olması gereken alanda aynı değer zaten var."},
        {FileNotFound, u"'%1' dosyası bulunamadı.", u"Dosya bulunamadı."},
        {DiskFull, u"Diskte yer kalmadı; değişiklik yazılamadı (%1).", u"Diskte yer kalmadı; değişiklik yazılamadı."},
        {DiskIoError, u"Disk okunurken ya da yazılırken hata oluştu (%1).",
         u"Disk okunurken ya da yazılırken hata oluştu."},
        {DatabaseDamaged, u"'%1' veritabanı dosyası bozuk ya da açıkken başka bir program tarafından değiştirilmiş.",
         u"Veritabanı dosyası bozuk ya da açıkken başka bir program tarafından değiştirilmiş."},
        {WriteConflict,
         u"Kayıt okunduktan sonra başka bir program tarafından değiştirilmiş; değişiklik yazılmadı (%1).",
         u"Kayıt okunduktan sonra başka bir program tarafından değiştirilmiş; değişiklik yazılmadı."},
        {ReadOnlyDatabase, u"Veritabanı ya da nesne salt okunur; değiştirilemez (%1).",
         u"Veritabanı ya da nesne salt okunur; değiştirilemez."},
        {InvalidPath, u"'%1' geçerli bir yol değil.", u"Geçerli bir yol değil."},
        {FileAccessDenied, u"'%1' dosyası açılamadı: erişim izni yok.", u"Dosya açılamadı: erişim izni yok."},
        {TooFewParameters, u"Parametreler eksik. Beklenen: %1.", u"Parametreler eksik."},
        {CannotExecuteSelect, u"Seçme sorgusu çalıştırılamaz; yalnızca eylem sorguları çalıştırılabilir (%1).",
         u"Seçme sorgusu çalıştırılamaz; yalnızca eylem sorguları çalıştırılabilir."},
        {QuerySyntaxError, u"Sorgu ifadesinde sözdizimi hatası var; sorguyu düzeltip yeniden deneyin. (%1)",
         u"Sorgu ifadesinde sözdizimi hatası var; sorguyu düzeltip yeniden deneyin."},
        {ExpressionSyntaxError, u"İfadede sözdizimi hatası var; ifadeyi düzeltip yeniden deneyin. (%1)",
         u"İfadede sözdizimi hatası var; ifadeyi düzeltip yeniden deneyin."},
        {ObjectNotFound, u"'%1' adında bir tablo ya da sorgu bulunamadı.", u"Tablo ya da sorgu bulunamadı."},
        {TextAfterStatement, u"SQL deyiminin sonundan sonra karakter bulundu: %1",
         u"SQL deyiminin sonundan sonra karakter bulundu."},
        {RecordDeleted, u"Kayıt silinmiş: %1", u"Kayıt silinmiş."},
        {ValidationRule, u"Alanın kuralı bu değeri kabul etmiyor: %1", u"Alanın kuralı bu değeri kabul etmiyor."},
        {InvalidOperation, u"Geçersiz işlem: %1", u"Geçersiz işlem."},
        {NotSupported, u"Bu işlem bu tür bir nesnede desteklenmiyor: %1",
         u"Bu işlem bu tür bir nesnede desteklenmiyor."},
        {ItemNotFound, u"'%1' alanı bu kayıt kümesinde yok.", u"Öğe bu koleksiyonda bulunamadı."},
        {UnrecognizedFormat, u"'%1' tanınan bir veritabanı biçiminde değil.",
         u"Dosya tanınan bir veritabanı biçiminde değil."},
        {MoveCancelled, u"Kayıt kaydedilemediği için işlem iptal edildi: %1",
         u"Kayıt kaydedilemediği için işlem iptal edildi."},
        {Locked,
         u"'%1' veritabanı dosyası şu anda başka bir program tarafından kilitli tutuluyor; işlem yapılamadı. "
         u"O program dosyayı bırakınca yeniden deneyin.",
         u"Veritabanı dosyası şu anda başka bir program tarafından kilitli tutuluyor; işlem yapılamadı. "
         u"O program dosyayı bırakınca yeniden deneyin."},
        {NoJournal,
         u"'%1' veritabanının klasörüne yazılamıyor: değişikliğin güvenle yazılması için gereken günlük dosyası "
         u"oluşturulamadı, değişiklik yazılmadı. Klasöre yazma izni verin ya da arşivi yazılabilir bir klasöre taşıyın.",
         u"Veritabanının klasörüne yazılamıyor: değişikliğin güvenle yazılması için gereken günlük dosyası "
         u"oluşturulamadı, değişiklik yazılmadı. Klasöre yazma izni verin ya da arşivi yazılabilir bir klasöre taşıyın."},
        {JournalToRecover,
         u"'%1' veritabanının yanında yarıda kalmış bir değişikliğin günlük dosyası ('%1-journal') var; dosya "
         u"yazılamadığı için kurtarılamıyor. Dosyaya ve bulunduğu klasöre yazma izni verip arşivi yeniden açın; "
         u"günlük dosyasını silmeyin.",
         u"Veritabanının yanında yarıda kalmış bir değişikliğin günlük dosyası var; dosya yazılamadığı için "
         u"kurtarılamıyor. Dosyaya ve bulunduğu klasöre yazma izni verip arşivi yeniden açın; günlük dosyasını "
         u"silmeyin."},
        {ValueTooBig,
         u"Değer ya da sonuç veritabanının işleyebileceğinden büyük; işlem yapılamadı. Daha kısa bir metinle ya da "
         u"daha küçük bir sonuç veren bir sorguyla yeniden deneyin. (%1)",
         u"Değer ya da sonuç veritabanının işleyebileceğinden büyük; işlem yapılamadı. Daha kısa bir metinle ya da "
         u"daha küçük bir sonuç veren bir sorguyla yeniden deneyin."},
        {NotAuthorized, u"Bu işleme izin verilmiyor; işlem yapılmadı. (%1)",
         u"Bu işleme izin verilmiyor; işlem yapılmadı."},
        {Interrupted, u"İşlem durduruldu; sonuç alınmadı. (%1)", u"İşlem durduruldu; sonuç alınmadı."},
        {OutOfMemory, u"Bellek yetmedi; işlem yapılamadı. Başka programları kapatıp yeniden deneyin. (%1)",
         u"Bellek yetmedi; işlem yapılamadı. Başka programları kapatıp yeniden deneyin."},
    };
    for (const Text &t : texts) {
        if (t.number == number) {
            return arg.isEmpty() ? QString::fromUtf16(t.plain) : QString::fromUtf16(t.withArg).arg(arg);
        }
    }
    const QString unknown = u"Bilinmeyen veritabanı hatası (%1)."_s.arg(number);
    return arg.isEmpty() ? unknown : unknown + u' ' + arg;
}

} // namespace db
