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
        const char16_t *withArg;  // %1 filled with arg
        const char16_t *plain;    // when no arg is given
    };
    static const Text texts[] = {
        {EngineFailure, u"Veritabanı altyapısı hatası: %1", u"Veritabanı altyapısı bir hata bildirdi."},
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
        {QuerySyntaxError, u"Sorgu ifadesinde sözdizimi hatası: %1", u"Sorgu ifadesinde sözdizimi hatası."},
        {ExpressionSyntaxError, u"İfadede sözdizimi hatası: %1", u"İfadede sözdizimi hatası."},
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
    };
    for (const Text &t : texts) {
        if (t.number == number) {
            return arg.isEmpty() ? QString::fromUtf16(t.plain)
                                 : QString::fromUtf16(t.withArg).arg(arg);
        }
    }
    const QString unknown = u"Bilinmeyen veritabanı hatası (%1)."_s.arg(number);
    return arg.isEmpty() ? unknown : unknown + u' ' + arg;
}

} // namespace db
