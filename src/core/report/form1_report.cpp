#include "form1.h"

#include "datacontrol.h"
#include "dberror.h"
#include "fonksiyon.h"
#include "frmsorgu.h"
#include "messagebox.h"

// The report button: a pending edit is saved, the credits lines are rebuilt, and the
// report query window opens.
void Form1::RPR_Click()
{
    try {
        m_ui.Data1->saveRecord();
    } catch (const db::Error &e) {
        reportRefusedSave(e);
        return;
    }
    try {
        fonksiyon::girismoduyaz();
    } catch (const db::Error &e) {
        msg::box(e.description());
        return;
    }
    frmsorgu::show(this);
}
