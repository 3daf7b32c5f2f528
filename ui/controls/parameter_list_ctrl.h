#pragma once

#include <QColor>
#include <QPointer>

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "link/observer.h"
#include "ui/controls/par_edit.h"
#include "ui/framework/report_list_ctrl.h"

class CModbusInterface;
class CParBase;

// One group of one parameter set as rows of name and value, with in-place editing of the values. On the
// device side (a Modbus interface given) a committed value is written to the device and read back under
// the Modbus lock; on the file side it only changes the set. Tells its observers after each commit.
//
// A device-side set is the poll thread's own, which the next poll writes while the user interface runs:
// the list reads it only under the Modbus lock (refresh, commit), keeps a copy of what it read for the
// editor to open from, and paints from the edit kinds it noted at the last refresh.
//
// The object lives as long as its page; each window of the page hands it its list control (Initialize).
class CParameterListCtrl : public CObserver, public CObservable {
public:
    static const QColor kNameColour;
    static const QColor kEditableColour;

    CParameterListCtrl();
    ~CParameterListCtrl() override;
    CParameterListCtrl(const CParameterListCtrl&) = delete;
    CParameterListCtrl& operator=(const CParameterListCtrl&) = delete;

    // Takes over the page's list control: empties it, makes the three columns and the editors.
    void Initialize(CReportListCtrl* list);
    CReportListCtrl* GetList() const { return m_list; }

    // What is shown; the next Refresh brings the rows in line. A change closes an open editor unsaved.
    void SetParameterSet(CParBase* set, int group);
    CParBase* GetParameterSet() const { return m_set; }
    int GetGroup() const { return m_group; }
    void SetModbusInterface(CModbusInterface* modbus) { m_modbus = modbus; }
    // Read-only closes an open editor unsaved.
    void SetReadOnly(bool readOnly);
    void SetRefreshAll(bool refreshAll) { m_refreshAll = refreshAll; }
    // Whether rows of the kinds that only the file side and "Device Info." edit are editable here.
    void SetProtectedKinds(bool editable);
    // Deletes every row and closes an open editor unsaved.
    void DeleteAllItems();

    // The name column as wide as its widest name, but leaving the values at least a third of the room;
    // the value column takes the rest, so the two fill the list without a horizontal scroll bar.
    void AdjustColumns();
    void Refresh();
    // Opens the editor on a row's value; -1 takes the first selected row.
    void BeginEdit(int row);
    // Hides both editors without committing.
    void CancelEdit();
    // Paints every cell again from what the last refresh noted (after a change of the read-only or
    // protected-kinds flag), without reading the set.
    void Repaint();
    CParEdit& GetEditor() { return m_editor; }
    int GetEditedCode() const { return m_editedCode; }

    // The commit, when the editor reports an ending.
    void Update(CObservable* source) override;

private:
    void OnClick(int row, int column);
    bool CellColour(int row, int column, QColor& text, QColor& background) const;
    bool IsEditableKind(int32_t kind) const;
    // The Modbus lock on the device side; nothing on the file side, where the set is the user interface's.
    std::unique_lock<std::recursive_mutex> LockSet() const;
    // Sets the accepted value; on the device side writes it and reads it back. Reports a failure.
    void Commit();
    void Navigate(int navigation);

    QPointer<CReportListCtrl> m_list;
    CParBase* m_set = nullptr;
    int m_group = 0;
    int32_t m_editedCode = 0;
    CParEdit m_editor;
    // The device-side set as the last refresh read it; the editor opens from it.
    std::unique_ptr<CParBase> m_shown;
    // The edit kind of each row at the last refresh, for painting.
    std::vector<int32_t> m_rowKinds;
    // The width the names need, measured when they last changed.
    int m_nameWidth = 0;
    CModbusInterface* m_modbus = nullptr;
    bool m_readOnly = true;
    bool m_refreshAll = false;
    bool m_protectedKinds = true;
};
